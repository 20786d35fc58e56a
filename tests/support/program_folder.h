#pragma once
// A program folder in a temporary directory, with the files a test writes.
#include <string>
#include <vector>

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  const std::string& path() const { return root_; }
  // `relative` with "\" separators; the text is written in code page 936.
  void write(const std::string& relative, const std::string& utf8) const;
  void writeBytes(const std::string& relative, const std::string& bytes) const;
  std::string readBytes(const std::string& relative) const;
  // Every file the program ships (demo course, skin, sounds), as installed.
  void copyShippedFiles() const;
  std::string full(const std::string& relative) const;
  bool exists(const std::string& relative) const;

  // A book: its lesson-title file, results file ("☆" for each) and lessons
  // (empty audio files beside them unless `withAudio` is false).
  void writeBook(const std::string& book, const std::vector<std::string>& titles,
                 const std::vector<std::string>& lessonTexts, bool withAudio = true) const;

 private:
  std::string root_;
};

// A lesson text of well-formed records: each row is English, Chinese, start,
// end and note.
std::string lessonText(const std::vector<std::vector<std::string>>& records);
// A sentence and a translation long enough to wrap on every page.
inline const std::string kLongEnglish =
    "When you have finished reading the whole passage aloud, close the book and try to say "
    "every sentence again from memory, slowly at first and then at your normal speed.";
inline const std::string kLongChinese =
    "读完整篇课文以后，合上书本，试着凭记忆把每一个句子再说一遍，先慢慢地说，然后用平常的速度"
    "说，直到能够流利地说出来为止。";

// A lesson of n sentences "Sentence k." with stretches of one second.
std::string numberedLesson(int n);

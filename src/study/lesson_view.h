#pragma once
// The loaded lesson and the learner's place in it, readable without the
// window: the records parsed once per load, the current sentence, the page,
// the speed and the repeat count. The window keeps a LessonState as its
// handlers go; new code reads it through LessonView instead of captions.
#include <string>
#include <string_view>
#include <vector>

#include "study/sentence_key.h"
#include "study/study_events.h"

namespace study {

struct Sentence {
  SentenceKey key;
  std::string english, chinese, note;  // as the window shows them (end spaces trimmed)
  std::string start, end;              // seconds, as the record holds them
  bool playable = false;               // both times are numbers
  int from = 0;                        // the "*" that opens the record in the lesson text
};

struct Lesson {
  std::string book;
  int number = 0;  // from 1, as the lesson list counts
  std::string title;
  std::vector<Sentence> sentences;
};

// The sentence records of a lesson text (as the loader repairs it).
std::vector<Sentence> parseSentences(const std::string& book, int lesson, std::string_view text);

class LessonView {
 public:
  const Lesson& lesson() const { return lesson_; }
  int count() const { return int(lesson_.sentences.size()); }
  // The current sentence's number from 1; 0 when none is current.
  int currentNumber() const { return current_; }
  const Sentence* current() const { return sentence(current_); }
  const Sentence* sentence(int number) const;  // null outside 1..count()
  // The sentence whose stretch runs from `start` to `end` (the current one
  // first); null when none does.
  const Sentence* stretch(std::string_view start, std::string_view end) const;
  Page page() const { return page_; }
  double speed() const { return speed_; }
  int repeat() const { return repeat_; }  // plays of each sentence
  // The display toggles of the sentence page: the English, the Chinese shown.
  bool englishShown() const { return englishShown_; }
  bool chineseShown() const { return chineseShown_; }

 protected:
  Lesson lesson_;
  int current_ = 0;
  Page page_ = 0;
  double speed_ = 1.0;
  int repeat_ = 0;
  bool englishShown_ = true, chineseShown_ = true;
};

class LessonState : public LessonView {
 public:
  void load(std::string book, int lesson, std::string title, std::string_view text);
  // The record opened by the "*" at `from` becomes current; none when no
  // record opens there.
  void setCurrent(int from);
  void setPage(Page page) { page_ = page; }
  void setSpeed(double speed) { speed_ = speed; }
  void setRepeat(int repeat) { repeat_ = repeat; }
  void setShown(bool english, bool chinese) {
    englishShown_ = english;
    chineseShown_ = chinese;
  }
};

}  // namespace study

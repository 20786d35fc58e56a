#pragma once
// The place in each lesson: the sentence the learner was at when the lesson
// was left, kept between runs in the learner's data (SETTING\places.dat),
// apart from the settings file. The text is one line of entries, each the
// book title, the lesson number and the sentence number, every one followed
// by "\" (book titles hold no "\").
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace content {

class LessonPlaces {
 public:
  // Reads the entries of a text; what is not an entry is left out.
  void read(std::string_view text);
  std::string text() const;
  // The sentence remembered for lesson `lesson` of `book`; 0 when none.
  int sentence(const std::string& book, int lesson) const;
  void remember(const std::string& book, int lesson, int sentence);

 private:
  std::map<std::pair<std::string, int>, int> places_;
};

}  // namespace content

#include "content/lesson_places.h"

#include <vector>

#include "app/numeric.h"

namespace content {

void LessonPlaces::read(std::string_view text) {
  places_.clear();
  std::vector<std::string_view> fields;
  for (size_t from = 0, at; (at = text.find('\\', from)) != std::string_view::npos; from = at + 1)
    fields.push_back(text.substr(from, at - from));
  for (size_t i = 0; i + 2 < fields.size(); i += 3) {
    const int lesson = app::toInt(app::val(fields[i + 1]));
    const int sentence = app::toInt(app::val(fields[i + 2]));
    if (!fields[i].empty() && lesson > 0 && sentence > 0)
      places_[{std::string(fields[i]), lesson}] = sentence;
  }
}

std::string LessonPlaces::text() const {
  std::string out;
  for (const auto& [lesson, sentence] : places_)
    out += lesson.first + "\\" + app::str(lesson.second) + "\\" + app::str(sentence) + "\\";
  return out;
}

int LessonPlaces::sentence(const std::string& book, int lesson) const {
  const auto it = places_.find({book, lesson});
  return it == places_.end() ? 0 : it->second;
}

void LessonPlaces::remember(const std::string& book, int lesson, int sentence) {
  if (book.empty() || lesson < 1 || sentence < 1) return;
  places_[{book, lesson}] = sentence;
}

}  // namespace content

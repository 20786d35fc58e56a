#include "study/lesson_view.h"

#include <algorithm>

#include "content/lesson_text.h"

namespace study {

std::vector<Sentence> parseSentences(const std::string& book, int lesson, std::string_view text) {
  std::vector<Sentence> sentences;
  for (int from = content::findFrom(text, '*', 1); from > 0;) {
    const int to = content::findFrom(text, '*', from + 1);
    if (to == 0) break;
    const content::Record r = content::parseRecord(text.substr(from, to - from - 1));
    Sentence s;
    s.english = content::trimSpaces(r.english);
    s.chinese = content::trimSpaces(r.chinese);
    s.note = r.note;
    s.playable = r.playable();
    s.start = r.start;
    s.end = r.end;
    s.from = from;
    s.key = makeSentenceKey(book, lesson, s.english, int(sentences.size()) + 1);
    sentences.push_back(std::move(s));
    from = to;
  }
  return sentences;
}

const Sentence* LessonView::sentence(int number) const {
  if (number < 1 || number > count()) return nullptr;
  return &lesson_.sentences[size_t(number - 1)];
}

const Sentence* LessonView::stretch(std::string_view start, std::string_view end) const {
  const auto same = [&](const Sentence* s) {
    return s && s->playable && s->start == start && s->end == end;
  };
  if (same(current())) return current();
  for (const Sentence& s : lesson_.sentences)
    if (same(&s)) return &s;
  return nullptr;
}

void LessonState::load(std::string book, int lesson, std::string title, std::string_view text) {
  lesson_.sentences = parseSentences(book, lesson, text);
  lesson_.book = std::move(book);
  lesson_.number = lesson;
  lesson_.title = std::move(title);
  current_ = 0;
}

void LessonState::setCurrent(int from) {
  const auto& all = lesson_.sentences;
  const auto it = std::lower_bound(all.begin(), all.end(), from,
                                   [](const Sentence& s, int f) { return s.from < f; });
  current_ = it != all.end() && it->from == from ? int(it - all.begin()) + 1 : 0;
}

}  // namespace study

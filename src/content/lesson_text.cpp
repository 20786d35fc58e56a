#include "content/lesson_text.h"

#include "app/numeric.h"

namespace content {

int findFrom(std::string_view text, char c, int from) {
  if (from < 1) from = 1;
  if (from > int(text.size())) return 0;
  size_t p = text.find(c, size_t(from - 1));
  return p == std::string_view::npos ? 0 : int(p) + 1;
}

int findBack(std::string_view text, char c, int from) {
  if (from < 1 || text.empty()) return 0;
  size_t p = text.rfind(c, size_t(std::min<int>(from, int(text.size())) - 1));
  return p == std::string_view::npos ? 0 : int(p) + 1;
}

std::string repairLessonText(const std::string& raw) {
  std::string text = raw;
  size_t last = text.find_last_not_of("\r\n \t");
  if (last == std::string::npos) return text.empty() ? text : std::string("*");
  if (text[last] == '*') text.erase(last + 1);
  if (text.front() != '*') text.insert(text.begin(), '*');
  if (text.back() != '*') text += '*';
  return text;
}

int countSentences(std::string_view text) {
  int stars = 0;
  for (char c : text) stars += c == '*';
  return std::max(0, stars - 1);
}

std::string trimSpaces(std::string_view s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

Record parseRecord(std::string_view record) {
  Record r;
  std::string* field[] = {&r.english, &r.chinese, &r.start, &r.end, &r.note};
  int from = 1;
  for (int k = 0; k < 5; ++k) {
    int p = findFrom(record, '#', from);
    if (p == 0) {
      if (from <= int(record.size())) *field[k] = std::string(record.substr(from - 1));
      break;
    }
    *field[k] = std::string(record.substr(from - 1, p - from));
    r.hash[k] = p;
    r.hashes = k + 1;
    from = p + 1;
  }
  return r;
}

// Fields 3 and 4 must both be there and be numbers, the end after the start.
TimesFault timesFault(const Record& r) {
  const auto blank = [](const std::string& t) {
    return t.find_first_not_of(" \t\r\n") == std::string::npos;
  };
  if (r.hashes < 4 || blank(r.start) || blank(r.end)) return TimesFault::Missing;
  if (!app::startsWithNumber(r.start) || !app::startsWithNumber(r.end))
    return TimesFault::NotNumbers;
  if (app::val(r.end) <= app::val(r.start)) return TimesFault::Reversed;
  return TimesFault::None;
}

bool Record::playable() const { return timesFault(*this) == TimesFault::None; }

}  // namespace content

#include "content/course_library.h"
#include "rules/book_titles.h"

namespace content {

std::vector<std::string> splitCaretList(const std::string& raw) {
  std::string text = raw;
  size_t end = text.find_last_not_of("\r\n");
  if (end != std::string::npos && text[end] == '^') text.erase(end + 1);
  if (text.empty()) return {};
  if (text.back() != '^') text += '^';
  std::vector<std::string> items;
  // Positions as in the file: p starts on the first character.
  size_t p = 0;
  while (p + 1 < text.size()) {
    size_t q = p;
    p = text.find('^', q + 1);
    items.push_back(text.substr(q + 1, p - q - 1));
  }
  return items;
}

bool isSafeBookTitle(const std::string& title) { return rules::isSafeBookTitle(title); }

std::string audioExtension(const std::string& book) { return rules::audioExtension(book); }

}  // namespace content

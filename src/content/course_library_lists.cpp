#include "content/course_library.h"

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

bool isSafeBookTitle(const std::string& title) {
  if (title.empty() || title == "." || title == "..") return false;
  if (title.find("..") != std::string::npos) return false;
  for (unsigned char c : title)
    if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == ':') return false;
  return true;
}

std::string audioExtension(const std::string& book) {
  return book == "Book04" || book == "Book07" ? ".wma" : ".mp3";
}

}  // namespace content

#include "rules/book_titles.h"

#include <algorithm>

#include "platform/text/rich_text.h"
#include "rules/book_rules.h"

namespace rules {

namespace {

bool isForbidden(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return c < 0x20 || c == 0x7f || generated::kTitleForbids.find(ch) != std::string_view::npos;
}

std::string quoted(char ch) {
  if (ch == '\'') return "\"'\"";
  const auto c = static_cast<unsigned char>(ch);
  if (c < 0x20 || c == 0x7f) {
    static const char* hex = "0123456789abcdef";
    return std::string("'\\x") + hex[c >> 4] + hex[c & 15] + "'";
  }
  return std::string("'") + (ch == '\\' ? "\\\\" : std::string(1, ch)) + "'";
}

}  // namespace

std::string titleFault(const std::string& title) {
  const auto bad = std::find_if(title.begin(), title.end(), isForbidden);
  if (bad != title.end()) return "it holds " + quoted(*bad);
  if (title.empty() || title.front() == ' ' || title.back() == ' ' || title.back() == '.')
    return "it is empty, ends in \".\" or has spaces at its ends";
  if (title.find("..") != std::string::npos) return "it holds \"..\"";
  if (platform::decodeCp936(platform::encodeCp936(title)) != title)
    return "it has no code page 936 form";
  return {};
}

bool isSafeBookTitle(const std::string& title) { return titleFault(title).empty(); }

std::string audioExtension(const std::string& title) {
  const auto& wma = generated::kWmaBooks;
  return std::find(wma.begin(), wma.end(), title) != wma.end() ? ".wma" : ".mp3";
}

}  // namespace rules

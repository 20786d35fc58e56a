#include "rules/book_titles.h"

#include <algorithm>

#include "platform/text/rich_text.h"
#include "rules/book_rules.h"

namespace rules {

namespace {

bool allowedCharacters(const std::string& title) {
  return std::none_of(title.begin(), title.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x20 || c == 0x7f || generated::kTitleForbids.find(ch) != std::string_view::npos;
  });
}

}  // namespace

bool isSafeBookTitle(const std::string& title) {
  if (title.empty() || title.front() == ' ' || title.back() == ' ' || title.back() == '.')
    return false;
  if (title.find("..") != std::string::npos || !allowedCharacters(title)) return false;
  return platform::decodeCp936(platform::encodeCp936(title)) == title;
}

std::string audioExtension(const std::string& title) {
  const auto& wma = generated::kWmaBooks;
  return std::find(wma.begin(), wma.end(), title) != wma.end() ? ".wma" : ".mp3";
}

}  // namespace rules

#include "bookmaker/book_files.h"

#include <cstdio>

#include "bookmaker/texts.h"

namespace bookmaker {

namespace {

std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

std::string lessonText(const std::vector<Record>& records) {
  std::string text = "*";
  for (const Record& r : records)
    text += r.english + "#" + r.chinese + "#" + seconds(r.start) + "#" + seconds(r.end) + "#" +
            r.note + "#*";
  return text;
}

std::string titleList(const std::vector<std::string>& titles) {
  std::string text = "^";
  for (const std::string& title : titles) text += title + "^";
  return text;
}

std::string resultsText(const std::vector<std::string>& titles) {
  std::vector<std::string> entries;
  for (const std::string& title : titles) entries.push_back("\u2606" + title);  // ☆: not passed
  return titleList(entries);
}

std::string settingsDocument(const std::string& bookTitle) {
  // lesson row, English hint, Chinese hint, study repeats, study pause,
  // browse repeats, browse pause, full-text Chinese, comparison hint, book,
  // pass mark: each followed by "\".
  const std::string line = "0\\1\\1\\1\\0\\1\\0\\1\\0\\" + bookTitle + "\\60\\";
  std::string body;
  for (const char ch : toCp936(line, "settings")) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte > 127) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\'%02x", byte);
      body += escape;
    } else {
      if (ch == '\\' || ch == '{' || ch == '}') body += '\\';
      body += ch;
    }
  }
  return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
         "\\'cb\\'ce\\'cc\\'e5;}}"
         "\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 " +
         body + "\r\n\\par }\r\n";
}

}  // namespace bookmaker

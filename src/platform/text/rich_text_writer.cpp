// The writer: the one RTF form every file the program writes has.
#include <string>

#include "platform/text/rich_text.h"
#include "platform/text/rich_text_codec.h"

namespace platform {

namespace {

// The font table names 宋体 (\'cb\'ce\'cc\'e5) at 9 points.
constexpr std::string_view kHead =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
    "\\'cb\\'ce\\'cc\\'e5;}}\r\n"
    "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 ";
constexpr std::string_view kTail = "\r\n\\par }\r\n";

void appendHexByte(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

// A character code page 936 lacks: \uN (N a signed 16-bit unit, a surrogate
// pair above U+FFFF) with "?" as the one fallback character of \uc1.
void appendUnicodeEscape(std::string& out, char32_t cp) {
  auto unit = [&](char32_t u) {
    out += "\\u";
    out += std::to_string(u > 0x7FFF ? static_cast<int>(u) - 0x10000 : static_cast<int>(u));
    out += '?';
  };
  if (cp > 0xFFFF) {
    unit(0xD800 + ((cp - 0x10000) >> 10));
    unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    unit(cp);
  }
}

void appendCharacter(std::string& out, char32_t cp) {
  switch (cp) {
    case U'\\':
    case U'{':
    case U'}':
      out += '\\';
      out += static_cast<char>(cp);
      return;
    case U'\n':
      out += "\\par ";
      return;
    case U'\t':
      out += "\\tab ";
      return;
  }
  // Raw control characters (CR among them) are not text in RTF; an escaped
  // byte reads back as the same character.
  if (cp < 0x20 || cp == 0x7F) {
    appendHexByte(out, static_cast<unsigned char>(cp));
    return;
  }
  if (cp < 0x80) {
    out += static_cast<char>(cp);
    return;
  }
  // Every byte of a two-byte character is escaped, trail bytes below 0x80 too,
  // so that no reader takes a trail byte for a character of its own.
  const std::string_view bytes = codec::cp936BytesOf(cp);
  if (bytes.empty()) {
    appendUnicodeEscape(out, cp);
    return;
  }
  for (char b : bytes) appendHexByte(out, static_cast<unsigned char>(b));
}

}  // namespace

std::string textToRtf(std::string_view utf8) {
  std::string out;
  out.reserve(kHead.size() + kTail.size() + utf8.size() * 3);
  out += kHead;
  for (std::size_t pos = 0; pos < utf8.size();)
    appendCharacter(out, codec::nextCodePoint(utf8, pos));
  out += kTail;
  return out;
}

}  // namespace platform

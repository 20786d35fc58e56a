#pragma once
// Character conversion shared by the text reader and writer: iconv behind a
// small class, UTF-8 stepping, and the code page 936 bytes that read back as a
// given character.
#include <iconv.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform::codec {

inline constexpr char32_t kReplacement = 0xFFFD;

// The next character of UTF-8 text at pos, advancing pos past it. A byte that
// does not start a well-formed sequence reads as U+FFFD and advances by one.
char32_t nextCodePoint(std::string_view utf8, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);
// How many bytes one character of UTF-8 text takes (one for a bad byte).
std::size_t skipOneCharacter(std::string_view rest);

// One iconv conversion. Every sequence iconv refuses is replaced, and
// conversion goes on after it, so a bad byte never stops or truncates the text.
class Converter {
 public:
  Converter(const char* to, const char* from);
  ~Converter();
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // skipBad tells how many bytes of the refused input to replace at a time.
  void append(std::string_view in, std::string& out, std::string_view replacement,
              std::size_t (*skipBad)(std::string_view rest));
  // Converts a short input that must convert without any refusal.
  bool convertWhole(std::string_view in, std::string& out);

 private:
  iconv_t cd_;
};

// Decoders to UTF-8 for Windows code page numbers, opened once each. A code
// page iconv does not know decodes as code page 936.
class Decoders {
 public:
  // Appends the UTF-8 of bytes in the code page; each bad byte is U+FFFD.
  void append(std::string_view bytes, int codePage, std::string& out);

 private:
  Converter& forCodePage(int codePage);
  std::unordered_map<int, std::unique_ptr<Converter>> byCodePage_;
};

// The code page 936 bytes (one or two) that decode to exactly cp, or an empty
// view when code page 936 has no such character.
std::string_view cp936BytesOf(char32_t cp);

}  // namespace platform::codec

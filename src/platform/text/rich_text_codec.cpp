#include "platform/text/rich_text_codec.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/text/rich_text.h"

namespace platform::codec {

std::size_t skipOneCharacter(std::string_view rest) {
  std::size_t pos = 0;
  nextCodePoint(rest, pos);
  return pos;
}

namespace {

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

std::size_t skipOneByte(std::string_view) { return 1; }

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr int kUtf8CodePage = 65001;

}  // namespace

char32_t nextCodePoint(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  }
  if (length == 0 || pos + length > utf8.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(utf8[pos + i]);
    if (!isContinuation(b)) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

Converter::Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

Converter::~Converter() {
  if (valid()) iconv_close(cd_);
}

void Converter::append(std::string_view in, std::string& out, std::string_view replacement,
                       std::size_t (*skipBad)(std::string_view rest)) {
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[8192];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, outPtr - buffer);
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // EILSEQ (a sequence it refuses), EINVAL (cut off at the end) or anything
    // else: replace what it stopped at and carry on behind it.
    out += replacement;
    const std::size_t skip = std::min(inLeft, std::max<std::size_t>(1, skipBad({inPtr, inLeft})));
    inPtr += skip;
    inLeft -= skip;
  }
}

// UTF-8 bytes are checked here, not by iconv: it passes some sequences that
// are not characters (F5 to F7 leads among them), and the program's strings
// are UTF-8 that must write and read back unchanged.
void Decoders::append(std::string_view bytes, int codePage, std::string& out) {
  if (codePage == kUtf8CodePage) {
    for (std::size_t pos = 0; pos < bytes.size();) appendUtf8(out, nextCodePoint(bytes, pos));
    return;
  }
  forCodePage(codePage).append(bytes, out, kReplacementUtf8, skipOneByte);
}

Converter& Decoders::forCodePage(int codePage) {
  auto found = byCodePage_.find(codePage);
  if (found != byCodePage_.end()) return *found->second;
  const std::string name = "CP" + std::to_string(codePage);
  auto converter = std::make_unique<Converter>("UTF-8", name.c_str());
  if (!converter->valid() && codePage != 936) return forCodePage(936);
  return *byCodePage_.emplace(codePage, std::move(converter)).first->second;
}

bool Converter::convertWhole(std::string_view in, std::string& out) {
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[64];
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
  out.assign(buffer, outPtr - buffer);
  return inLeft == 0;
}

namespace {

struct Cp936Bytes {
  char bytes[2] = {};
  unsigned char length = 0;
};

// Built by decoding every one- and two-byte sequence, so a character found
// here reads back as itself (the encoder maps a few characters onto bytes that
// decode to another one).
std::vector<Cp936Bytes> buildCp936Table() {
  std::vector<Cp936Bytes> table(0x10000);
  Converter decoder("UTF-8", "CP936");
  std::string utf8;
  auto add = [&](std::string_view bytes) {
    if (!decoder.convertWhole(bytes, utf8) || utf8.empty()) return;
    std::size_t pos = 0;
    const char32_t cp = nextCodePoint(utf8, pos);
    if (pos != utf8.size() || cp >= table.size() || table[cp].length != 0) return;
    std::copy(bytes.begin(), bytes.end(), table[cp].bytes);
    table[cp].length = static_cast<unsigned char>(bytes.size());
  };
  for (int single = 0; single <= 0xFF; ++single) {
    const char b = static_cast<char>(single);
    add({&b, 1});
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      add({pair, 2});
    }
  }
  return table;
}

}  // namespace

std::string_view cp936BytesOf(char32_t cp) {
  static const std::vector<Cp936Bytes> table = buildCp936Table();
  if (cp >= table.size()) return {};
  return {table[cp].bytes, table[cp].length};
}

}  // namespace platform::codec

namespace platform {

std::string decodeCp936(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  codec::Decoders().append(bytes, 936, out);
  return out;
}

std::string encodeCp936(std::string_view utf8) {
  static constexpr std::string_view kQuestionMark = "?";
  std::string out;
  out.reserve(utf8.size());
  codec::Converter("CP936", "UTF-8").append(utf8, out, kQuestionMark, codec::skipOneCharacter);
  return out;
}

}  // namespace platform

// Code page 936 both ways: Chinese, the two result marks, invalid bytes.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/rich_text.h"

namespace {

using platform::decodeCp936;
using platform::encodeCp936;

std::string repeat(const std::string& unit, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += unit;
  return out;
}

struct Pair {
  std::string bytes;
  std::string utf8;
};

TEST(Cp936, ConvertsBothWays) {
  const Pair pairs[] = {
      {"", ""},
      {"plain \\{} 123", "plain \\{} 123"},
      {"\xD6\xD0\xCE\xC4", "中文"},
      {"\xA1\xEE", "☆"},
      {"\xA1\xEF", "★"},
      {"\xCB\xCE\xCC\xE5", "宋体"},
      {"\x81\x40", "丂"},  // a trail byte in the ASCII range
      {"\x80", "€"},
      {"a\r\nb\n", "a\r\nb\n"},
  };
  for (const auto& [bytes, utf8] : pairs) {
    EXPECT_EQ(decodeCp936(bytes), utf8) << utf8;
    EXPECT_EQ(encodeCp936(utf8), bytes) << utf8;
  }
}

TEST(Cp936, EachInvalidByteReadsAsReplacementCharacter) {
  const Pair cases[] = {
      {"\xFF", "\uFFFD"},
      {"\xFF\xFF\xD6\xD0", "\uFFFD\uFFFD中"},
      {"a\xD6", "a\uFFFD"},        // a lead byte cut off at the end
      {"\xD6 b", "\uFFFD b"},      // a lead byte without its trail keeps what follows
      {"\xA1\x7F", "\uFFFD\x7F"},  // 0x7F is no trail byte
      {"x\xA1\xEE\xFEy", "x☆\uFFFDy"},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(decodeCp936(bytes), utf8) << utf8;

  // Far past any conversion buffer: nothing after a bad byte is lost.
  const std::string half = repeat("\xD6\xD0", 20000);
  EXPECT_EQ(decodeCp936(half + "\xFF" + half + "\xD6"),
            repeat("中", 20000) + "\uFFFD" + repeat("中", 20000) + "\uFFFD");
}

TEST(Cp936, CharacterItLacksBecomesQuestionMark) {
  const Pair cases[] = {
      {"?", "😀"},         {"a?b", "a・b"}, {"\xD6\xD0?\xCE\xC4", "中😀文"},
      {"?x", "\xC3x"},     // a bad UTF-8 byte
      {"??", "\xE4\xB8"},  // a cut-off UTF-8 sequence
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(encodeCp936(utf8), bytes) << bytes;
}

}  // namespace

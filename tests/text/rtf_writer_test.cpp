// The writer's document: its exact bytes, and that it reads back to the string.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/rich_text.h"
#include "platform/text/rich_text_codec.h"

namespace {

using platform::rtfToText;
using platform::textToRtf;

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
    "\\'cb\\'ce\\'cc\\'e5;}}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 ";
const std::string kTail = "\r\n\\par }\r\n";

TEST(RtfWriter, WritesTheFixedForm) {
  struct Case {
    std::string text;
    std::string content;
  };
  const Case cases[] = {
      {"", ""},
      {"a中\n{☆}\\", "a\\'d6\\'d0\\par \\{\\'a1\\'ee\\}\\\\"},
      {"★\r\n1", "\\'a1\\'ef\\'0d\\par 1"},
      {"\tx", "\\tab x"},
      {"丂", "\\'81\\'40"},
      {"😀・", "\\u-10179?\\u-8704?\\u12539?"},
  };
  for (const auto& [text, content] : cases) EXPECT_EQ(textToRtf(text), kHead + content + kTail);
}

TEST(RtfWriter, ReadsBackToTheSameString) {
  const std::string cases[] = {
      "",
      "第一课 课文",
      "☆★☆^★^",
      "\\",
      "{",
      "}",
      "\\par",
      "{\\rtf1 x}",
      "a\nb",
      "a\r\nb\r\n",
      "\r",
      "\n",
      "\n\n",
      "line\n",
      "1\n2",
      " leading and trailing ",
      "tab\there",
      "?",
      "😀 ・ é ½",
      "fallback after escape: 😀?",
      "€丂",
      std::string("nul\0inside", 10),
      "\x01\x1f\x7f",
      "0\\1\\1.5\\\\",
  };
  for (const auto& text : cases) EXPECT_EQ(rtfToText(textToRtf(text)), text) << text;
}

// Every character, also those code page 936 lacks or maps onto another one.
TEST(RtfWriter, EveryCharacterReadsBackAndTheDocumentIsAscii) {
  std::string all;
  for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
    if (cp < 0xD800 || cp > 0xDFFF) platform::codec::appendUtf8(all, cp);
  }
  for (char32_t cp : {0x10000, 0x1F600, 0x10FFFF}) platform::codec::appendUtf8(all, cp);

  const std::string document = textToRtf(all);
  EXPECT_EQ(rtfToText(document), all);
  for (unsigned char byte : document) ASSERT_LT(byte, 0x80);
  EXPECT_EQ(document.substr(kHead.size(), document.size() - kHead.size() - kTail.size())
                .find_first_of("\r\n"),
            std::string::npos);
}

TEST(RtfWriter, BadUtf8ReadsBackAsReplacementCharacter) {
  EXPECT_EQ(rtfToText(textToRtf("a\xFF"
                                "b\xE4\xB8")),
            "a\uFFFDb\uFFFD\uFFFD");
}

}  // namespace

// The reader on documents of other producers, and on broken documents.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/text/rich_text.h"
#include "platform/text/rich_text_codec.h"
#include "text/utf8_check.h"

namespace {

using platform::rtfToText;

struct Case {
  const char* name;
  std::string rtf;
  std::string text;
};

void expectTexts(const std::vector<Case>& cases) {
  for (const auto& [name, rtf, text] : cases) EXPECT_EQ(rtfToText(rtf), text) << name;
}

bool isValidUtf8(const std::string& text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (platform::codec::nextCodePoint(text, pos) == platform::codec::kReplacement &&
        text.compare(start, 3, "\xEF\xBF\xBD") != 0)
      return false;
  }
  return true;
}

std::string repeat(const std::string& unit, int times) {
  std::string out;
  out.reserve(unit.size() * times);
  for (int i = 0; i < times; ++i) out += unit;
  return out;
}

// A document that declares UTF-8 (as the document's code page or a font's)
// may carry any bytes: every sequence that is not a character reads as
// U+FFFD, so what is read is UTF-8 and writes and reads back the same.
TEST(RtfReader, UndeclaredUtf8BytesReadAsReplacementCharacters) {
  const std::string kFffd = "\xEF\xBF\xBD";
  struct Bytes {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Bytes contents[] = {
      {"leads F5 to F7", "a\xF5\x80\x80\x80\xF6\xF7z",
       "a" + kFffd + kFffd + kFffd + kFffd + kFffd + kFffd + "z"},
      {"leads F8 to FF", "\xF8\xFC\xFF", kFffd + kFffd + kFffd},
      {"overlong", "\xC0\xAF\xE0\x80\xAF", kFffd + kFffd + kFffd + kFffd + kFffd},
      {"surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
      {"cut short", "\xE4\xB8", kFffd + kFffd},
      {"well formed", "\xE4\xB8\xAD\xF0\x9F\x98\x80", "中😀"},
  };
  const std::string heads[] = {"{\\rtf1\\ansi\\ansicpg65001 ",
                               "{\\rtf1\\ansi{\\fonttbl{\\f0\\cpg65001 U;}}\\f0 "};
  for (const std::string& head : heads) {
    for (const Bytes& c : contents) {
      for (const bool escaped : {false, true}) {
        std::string body;
        for (char b : c.bytes) {
          if (!escaped) {
            body += b;
            continue;
          }
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(b));
          body += hex;
        }
        const std::string text = rtfToText(head + body + "}");
        EXPECT_EQ(text, c.text) << head << c.name << escaped;
        EXPECT_TRUE(utf8_check::wellFormed(text)) << head << c.name << escaped;
        EXPECT_EQ(rtfToText(platform::textToRtf(text)), text) << head << c.name << escaped;
      }
    }
  }
}

TEST(RtfReader, RecognisesRtfByItsStart) {
  EXPECT_TRUE(platform::looksLikeRtf("{\\rtf1 x}"));
  EXPECT_TRUE(platform::looksLikeRtf("{\\rtf"));
  EXPECT_FALSE(platform::looksLikeRtf(" {\\rtf1 x}"));
  EXPECT_FALSE(platform::looksLikeRtf("{\\rt"));
  EXPECT_FALSE(platform::looksLikeRtf(""));
}

TEST(RtfReader, ReadsDocumentsOfOtherProducers) {
  expectTexts({
      {"rich edit, Chinese system",
       "{\\rtf1\\ansi\\ansicpg936\\deff0\\nouicompat\\deflang1033\\deflangfe2052"
       "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 "
       "Calibri;}}\r\n"
       "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
       "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
       "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang2052\\'d6\\'d0\\'ce\\'c4\\f1\\lang1033 "
       "caf\\'e9\\par\r\nsecond {\\b bold} line\\par\r\n}\r\n\0\0",
       "中文café\nsecond bold line"},
      {"office suite, Western system, Unicode escapes",
       "{\\rtf1\\ansi\\deff3\\adeflang1025\r\n"
       "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
       "{\\f3\\fnil\\fprq2\\fcharset134 SimSun{\\*\\falt \\u23435\\'3f\\u20307\\'3f};}}\r\n"
       "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
       "{\\stylesheet{\\s0\\snext0\\hich\\af3 Normal;}{\\*\\cs15\\snext15 Emphasis;}}"
       "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64}"
       "{\\info{\\title Lesson}{\\author someone}{\\creatim\\yr2024\\mo1\\dy2}}"
       "{\\*\\pgdsctbl{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838 Default;}}\r\n"
       "\\pard\\plain \\s0\\ltrpar{\\rtlch \\ltrch\\loch Hello, \\uc2 "
       "\\u20013\\'d6\\'d0\\u25991\\'ce\\'c4!}"
       "\\par \\pard\\plain \\s0{\\uc1 \\u9734\\'3f\\u9733\\'3f \\u-10179?\\u-8704?}\\par }",
       "Hello, 中文!\n☆★ 😀"},
      {"no code page named: 936", "{\\rtf1 \\'d6\\'d0\\'ce\\'c4}", "中文"},
      {"Western code page", "{\\rtf1\\ansi\\ansicpg1252 na\\'efve}", "naïve"},
      {"traditional Chinese font",
       "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil\\fcharset136 "
       "PMingLiU;}}\\f1\\'a4\\'a4{\\f0 x}\\'a4\\'e5}",
       "中x文"},
      {"font code page", "{\\rtf1{\\fonttbl{\\f2\\cpg950 X;}}\\f2\\'a4\\'a4}", "中"},
      {"trail byte written plainly", "{\\rtf1\\ansicpg936 \\'81@\\'81\\\\}", "丂乗"},
      {"Unicode alternative", "{\\rtf1 {\\upr{ansi text}{\\*\\ud{\\u20013?}}}x}", "中x"},
  });
}

TEST(RtfReader, ControlWordsAndSymbols) {
  expectTexts({
      {"symbols",
       "{\\rtf1 a\\tab b\\line c\\~d\\-e\\_f\\emdash g\\endash\\{\\}\\\\\\bullet "
       "\\lquote\\rquote\\ldblquote\\rdblquote}",
       "a\tb\nc\u00A0de\u2011f—g–{}\\•‘’“”"},
      {"line breaks in the source are not text", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},
      {"escaped line break is a paragraph end", "{\\rtf1 a\\\nb}", "a\nb"},
      {"delimiter space", "{\\rtf1 \\b  x\\b0 1\\i0\\par 2}", " x1\n2"},
      {"unknown words and parameters", "{\\rtf1\\foo-12 \\bar99999999999999999x}", "x"},
      {"negative sign needs a digit", "{\\rtf1 \\u-x}", "-x"},
      {"word without parameter", "{\\rtf1 \\u \\uc a\\u20013?}", "a中"},
  });
}

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
  expectTexts({
      {"ignorable", "{\\rtf1 {\\*\\unknown hidden {nested}}shown}", "shown"},
      {"header and footer", "{\\rtf1 {\\header head}{\\footerl foot}body}", "body"},
      {"picture", "{\\rtf1 a{\\pict\\wmetafile8\\picw10 0a0b0c{\\*\\blipuid 12}}b}", "ab"},
      {"binary data with braces", "{\\rtf1 a{\\pict\\bin4 {}}x}b}", "ab"},
      {"field shows its result", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}",
       "link"},
      {"stray \\* at the top", "{\\rtf1\\*\\x shown}", "shown"},
  });
}

TEST(RtfReader, UnicodeFallbacksAreSkipped) {
  expectTexts({
      {"two fallback bytes", "{\\rtf1\\uc2 \\u20013\\'d6\\'d0x}", "中x"},
      {"no fallback", "{\\rtf1\\uc0 \\u20013\\u25991 x}", "中文x"},
      {"skip count is per group", "{\\rtf1\\uc1{\\uc3 \\u20013 abc}d\\u25991?e}", "中d文e"},
      {"a control word counts as one", "{\\rtf1\\uc1 \\u20013\\par x}", "中x"},
      {"a group end stops the skip", "{\\rtf1\\uc2 {\\u20013 a}b}", "中b"},
      {"positive escapes above 32767", "{\\rtf1 \\u55357?\\u56832?}", "😀"},
      {"lone surrogates", "{\\rtf1 \\u-10179?x\\u-8704?}", "\uFFFDx\uFFFD"},
      {"out of range", "{\\rtf1 \\u-99999?}", "\uFFFD"},
  });
}

TEST(RtfReader, DropsOnlyTheLastParagraphEnd) {
  expectTexts({
      {"one", "{\\rtf1 a\\par}", "a"},
      {"two", "{\\rtf1 a\\par\\par}", "a\n"},
      {"alone", "{\\rtf1 \\par }", ""},
      {"text after it", "{\\rtf1 a\\par b}", "a\nb"},
      {"line break is kept", "{\\rtf1 a\\line}", "a\n"},
      {"paragraph end inside a group", "{\\rtf1 a{\\b\\par}}", "a"},
  });
}

TEST(RtfReader, BrokenDocumentsReadWithoutCrash) {
  expectTexts({
      {"extra closing braces", "{\\rtf1 a}}}b", "a"},
      {"text after the document", "{\\rtf1 a}garbage", "a"},
      {"unclosed groups", "{\\rtf1 {{{a", "a"},
      {"cut after backslash", "{\\rtf1 a\\", "a"},
      {"cut in hex escape", "{\\rtf1 a\\'4", "a"},
      {"cut after lead byte", "{\\rtf1 a\\'d6", "a\uFFFD"},
      {"cut in parameter", "{\\rtf1 a\\fs1", "a"},
      {"binary longer than the file", "{\\rtf1 a\\bin999999999 abc", "a"},
      {"huge fallback count", "{\\rtf1{\\uc99999999999 \\u20013 abc}d}", "中d"},
      {"bad hex", "{\\rtf1 \\'zz x}", "zz x"},
      {"nothing", "{\\rtf", ""},
  });
}

// Every cut of real documents: no crash, and always well-formed UTF-8.
TEST(RtfReader, EveryTruncationReads) {
  const std::string documents[] = {
      platform::textToRtf("第一课\r\n☆★ {x} \\ 😀\n"),
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 S;}}{\\*\\g x}\\uc2 \\u20013\\'d6\\'d0"
      "{\\pict\\bin3 abc}\\par}",
  };
  for (const auto& document : documents) {
    for (std::size_t length = 0; length <= document.size(); ++length) {
      ASSERT_TRUE(isValidUtf8(rtfToText(document.substr(0, length)))) << length;
    }
  }
}

TEST(RtfReader, DeepNestingIsNoProblem) {
  constexpr int kDepth = 100000;
  expectTexts({
      {"balanced", "{\\rtf1 " + repeat("{", kDepth) + "x" + repeat("}", kDepth) + "y}", "xy"},
      {"never closed", "{\\rtf1 " + repeat("{\\b ", kDepth) + "x", "x"},
      {"nested ignorables",
       "{\\rtf1 " + repeat("{\\*\\a ", kDepth) + "hidden" + repeat("}", kDepth) + "shown}",
       "shown"},
      {"only closing", "{\\rtf1 x" + repeat("}", kDepth), "x"},
  });
}

}  // namespace

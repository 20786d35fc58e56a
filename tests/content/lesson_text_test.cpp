// The separator lists of the data files, read over well-formed and broken texts.
#include "content/lesson_text.h"

#include <gtest/gtest.h>

#include "content/course_library.h"
#include "content/lesson_places.h"
#include "dictation/mask.h"

namespace {

using Titles = std::vector<std::string>;

TEST(CaretList, ReadsTitlesAndRepairsBrokenEnds) {
  struct Case {
    const char* text;
    Titles titles;
  };
  const Case cases[] = {
      {"^One^Two^Three^", {"One", "Two", "Three"}},
      {"^ spaced ^", {" spaced "}},
      {"^One^Two", {"One", "Two"}},  // final "^" missing
      {"^One^\r\n", {"One"}},        // a line break after it
      {"", {}},                      // empty: no lessons
      {"^", {}},                     // no lesson
      {"^^", {""}},                  // one empty title
      {"^☆第一课^★第二课^", {"☆第一课", "★第二课"}},
  };
  for (const Case& c : cases) EXPECT_EQ(content::splitCaretList(c.text), c.titles) << c.text;
}

// The place in each lesson: entries of book, lesson and sentence, each field
// followed by "\\"; what is not an entry is left out.
TEST(LessonPlaces, ReadsAndWritesItsEntries) {
  content::LessonPlaces places;
  places.read("Book01\\3\\7\\第二册\\1\\2\\Book01\\4\\0\\Book01\\x\\5\\\\2\\2\\Book09\\1");
  EXPECT_EQ(places.sentence("Book01", 3), 7);
  EXPECT_EQ(places.sentence("第二册", 1), 2);
  EXPECT_EQ(places.sentence("Book01", 4), 0);
  EXPECT_EQ(places.sentence("Book01", 1), 0);
  places.remember("Book01", 3, 9);
  places.remember("", 1, 1);
  content::LessonPlaces again;
  again.read(places.text());
  EXPECT_EQ(again.text(), "Book01\\3\\9\\第二册\\1\\2\\");
}

TEST(LessonText, CountsSentencesOfRepairedTexts) {
  struct Case {
    const char* text;
    const char* repaired;
    int sentences;
  };
  const Case cases[] = {
      {"*a#b#1#2#n#*c#d#3#4#m#*", "*a#b#1#2#n#*c#d#3#4#m#*", 2},
      {"*a#b#1#2#n#", "*a#b#1#2#n#*", 1},       // no final "*"
      {"a#b#1#2#n#", "*a#b#1#2#n#*", 1},        // no "*" at all
      {"*a#b#1#2#n#*\r\n", "*a#b#1#2#n#*", 1},  // a line break after it
      {"", "", 0},
      {"*", "*", 0},
      {"\r\n", "*", 0},
  };
  for (const Case& c : cases) {
    std::string r = content::repairLessonText(c.text);
    EXPECT_EQ(r, c.repaired) << c.text;
    EXPECT_EQ(content::countSentences(r), c.sentences) << c.text;
  }
}

TEST(LessonText, CutsTheFieldsThatExist) {
  auto full = content::parseRecord("  Hello there  # 你好 #1.25#2.5#note#extra");
  EXPECT_EQ(full.hashes, 5);
  EXPECT_EQ(content::trimSpaces(full.english), "Hello there");
  EXPECT_EQ(content::trimSpaces(full.chinese), "你好");
  EXPECT_EQ(full.start, "1.25");
  EXPECT_EQ(full.note, "note");
  EXPECT_TRUE(full.playable());

  auto two = content::parseRecord("Only English#中文");
  EXPECT_EQ(two.hashes, 1);
  EXPECT_EQ(two.english, "Only English");
  EXPECT_EQ(two.chinese, "中文");
  EXPECT_FALSE(two.playable());

  EXPECT_FALSE(content::parseRecord("a#b#start#end#n#").playable());
  EXPECT_EQ(content::parseRecord("line\nbreak#x#1#2#n#").english, "line\nbreak");
}

TEST(LessonText, FindsSeparatorsForwardAndBack) {
  const std::string t = "*ab*cd*";
  EXPECT_EQ(content::findFrom(t, '*', 1), 1);
  EXPECT_EQ(content::findFrom(t, '*', 2), 4);
  EXPECT_EQ(content::findFrom(t, '*', 8), 0);
  EXPECT_EQ(content::findBack(t, '*', 6), 4);
  EXPECT_EQ(content::findBack(t, '*', 3), 1);
  EXPECT_EQ(content::findBack(t, '*', 0), 0);
}

TEST(Mask, EveryLetterBecomesAnUnderscore) {
  struct Case {
    const char* sentence;
    const char* mask;
  };
  const Case cases[] = {
      {"I'm fine, thanks.", "_'_ ____, ______."},
      {"Call 110 now!", "____ 110 ___!"},
      {"ABC xyz", "___ ___"},
      {"Café 咖啡", "___é 咖啡"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(dictation::maskSentence(c.sentence), c.mask);
  EXPECT_EQ(dictation::letterSequence("I'm FINE, Café 110"), "imfinecaf");
}

TEST(BookTitle, OnlyNamesInsideTheProgramFolderAreSafe) {
  for (const char* ok : {"Book01", "Parlenda", "新概念英语", "My Book"})
    EXPECT_TRUE(content::isSafeBookTitle(ok)) << ok;
  for (const char* bad : {"", "..", "../x", "a/b", "a\\b", "x\ty", "C:"})
    EXPECT_FALSE(content::isSafeBookTitle(bad)) << bad;
  EXPECT_EQ(content::audioExtension("Book04"), ".wma");
  EXPECT_EQ(content::audioExtension("Book07"), ".wma");
  EXPECT_EQ(content::audioExtension("Book05"), ".mp3");
}

}  // namespace

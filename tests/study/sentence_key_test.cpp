// Sentence keys across a book made again, and the lesson read once.
#include "study/sentence_key.h"

#include <gtest/gtest.h>

#include "study/lesson_view.h"

namespace {

// A lesson text of records: English, Chinese, start, end, note.
std::string lesson(const std::vector<std::vector<std::string>>& records) {
  std::string text = "*";
  for (const auto& r : records)
    text += r[0] + "#" + r[1] + "#" + r[2] + "#" + r[3] + "#" + r[4] + "#*";
  return text;
}

TEST(SentenceKey, AMadeAgainBookKeepsTheKeysOfUnchangedSentences) {
  const auto before =
      study::parseSentences("Book01", 3,
                            lesson({{"Hello, Tom.", "你好，汤姆。", "0.5", "1.5", ""},
                                    {"How are you?", "你好吗？", "2", "3", ""},
                                    {"Fine, thanks.", "很好。", "3.5", "4.5", ""}}));
  // Made again: new times and translations, a sentence put in front, the
  // last one's text changed, spaces at the ends of one.
  const auto after =
      study::parseSentences("Book01", 3,
                            lesson({{"Good morning.", "早上好。", "0", "0.4", ""},
                                    {"  Hello, Tom. ", "汤姆你好。", "0.6", "1.6", "note"},
                                    {"How are you?", "你好吗？", "2.1", "3.1", ""},
                                    {"Fine, thank you.", "很好。", "3.6", "4.6", ""}}));
  ASSERT_EQ(before.size(), 3u);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[1].key, before[0].key);
  EXPECT_EQ(after[2].key, before[1].key);
  EXPECT_EQ(after[2].key.position, 3) << "the hint follows the record's place";
  EXPECT_EQ(before[1].key.position, 2);
  EXPECT_FALSE(after[3].key == before[2].key) << "a changed sentence is another sentence";
  EXPECT_EQ(after[1].english, "Hello, Tom.");
}

TEST(SentenceKey, BookLessonAndTextNameTheSentence) {
  const study::SentenceKey k = study::makeSentenceKey("Book01", 3, "Hello, Tom.", 1);
  struct Case {
    study::SentenceKey other;
    bool same;
  };
  const Case cases[] = {
      {study::makeSentenceKey("Book01", 3, "Hello, Tom.", 7), true},
      {study::makeSentenceKey("Book02", 3, "Hello, Tom.", 1), false},
      {study::makeSentenceKey("Book01", 4, "Hello, Tom.", 1), false},
      {study::makeSentenceKey("Book01", 3, "Hello, Tom!", 1), false},
      {study::makeSentenceKey("Book01", 3, "hello, tom.", 1), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.other == k, c.same) << c.other.text();
}

// The digest is stored: it must stay the same from one version to the next.
TEST(SentenceKey, TheDigestIsStableAndStoredWithBookAndLesson) {
  const study::SentenceKey k = study::makeSentenceKey("Book01", 3, "Hello, Tom.", 1);
  EXPECT_EQ(k.digest.size(), 32u);
  EXPECT_EQ(k.digest, study::textDigest("Hello, Tom."));
  EXPECT_EQ(k.text(), "Book01/3/" + k.digest);
  EXPECT_EQ(study::textDigest(""), "99aa06d3014798d86001c324468d497f");
}

TEST(LessonState, TheCursorNamesTheCurrentSentence) {
  study::LessonState s;
  const std::string text = lesson({{"A.", "甲", "1", "2", ""}, {"B.", "乙", "x", "3", ""}});
  s.load("Book01", 1, "L", text);
  EXPECT_EQ(s.count(), 2);
  EXPECT_EQ(s.current(), nullptr);
  s.setCurrent(int(text.find('*', 1)) + 1);  // the "*" that opens "B."
  ASSERT_NE(s.current(), nullptr);
  EXPECT_EQ(s.currentNumber(), 2);
  EXPECT_EQ(s.current()->english, "B.");
  EXPECT_FALSE(s.current()->playable);
  s.setCurrent(2);  // no record opens there
  EXPECT_EQ(s.current(), nullptr);
  EXPECT_EQ(s.stretch("1", "2"), s.sentence(1));
  EXPECT_EQ(s.stretch("x", "3"), nullptr) << "a record that cannot play has no stretch";
}

}  // namespace

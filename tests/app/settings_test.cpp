#include "app/settings.h"

#include <gtest/gtest.h>

#include "app/numeric.h"

namespace {

struct ValCase {
  const char* text;
  double value;
};

TEST(NumericValue, ReadsTheLeadingNumber) {
  const ValCase cases[] = {
      {"", 0},      {"abc", 0},  {"60", 60},   {"05", 5},      {" 1.5x", 1.5},
      {"-10", -10}, {"1 2", 12}, {"\t\n3", 3}, {"1.2.3", 1.2}, {"+7", 7},
      {".5", 0.5},  {"-", 0},    {"80分", 80}, {"1\n0", 10},
  };
  for (const ValCase& c : cases) EXPECT_DOUBLE_EQ(app::val(c.text), c.value) << c.text;
}

TEST(NumericValue, WritesShortestForms) {
  EXPECT_EQ(app::shortest(app::val("05")), "5");
  EXPECT_EQ(app::shortest(1.5), "1.5");
  EXPECT_EQ(app::shortest(0), "0");
  EXPECT_EQ(app::shortest(-10), "-10");
  EXPECT_EQ(app::str(-3), "-3");
}

TEST(SettingsLine, ParsesElevenFieldsAndIgnoresTheRest) {
  auto s = app::parseSettings("3\\1\\0\\2\\1\\1\\0\\1\\0\\Book05\\80\\\r\nrest\\");
  ASSERT_TRUE(s.complete());
  EXPECT_EQ(s.field[0], "3");
  EXPECT_EQ(s.field[3], "2");
  EXPECT_EQ(s.field[9], "Book05");
  EXPECT_EQ(s.field[10], "80");
}

TEST(SettingsLine, ShortTextsKeepWhatTheyHave) {
  EXPECT_EQ(app::parseSettings("").found, 0);
  EXPECT_EQ(app::parseSettings("plain text").found, 0);
  auto s = app::parseSettings("2\\0\\1\\");
  EXPECT_EQ(s.found, 3);
  EXPECT_EQ(s.field[1], "0");
  EXPECT_EQ(s.field[3], "");
}

TEST(SettingsLine, WritesEveryFieldWithItsSeparatorAndNoStrayBackslash) {
  std::array<std::string, app::kSettingsFields> f = {"-1", "1", "0", "2",      "1.5", "1",
                                                     "0",  "1", "0", "Book01", "7\\0"};
  std::string line = app::buildSettingsLine(f);
  EXPECT_EQ(line, "-1\\1\\0\\2\\1.5\\1\\0\\1\\0\\Book01\\70\\");
  auto back = app::parseSettings(line);
  EXPECT_TRUE(back.complete());
  EXPECT_EQ(back.field[10], "70");
}

}  // namespace

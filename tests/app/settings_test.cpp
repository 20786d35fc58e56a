#include "app/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "app/numeric.h"
#include "platform/text/rich_text.h"
#include "support/form_harness.h"

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

const std::string kTwentyNines(20, '9');

TEST(NumericValue, NumbersBeyondTheRangeClampToItsEnds) {
  const double largest = std::numeric_limits<double>::max();
  EXPECT_EQ(app::val(std::string(400, '9')), largest);
  EXPECT_EQ(app::val("-" + std::string(400, '9')), -largest);
  EXPECT_EQ(app::val("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(app::val("00000" + std::string(400, '0') + ".5"), 0.5);

  struct IntegerCase {
    double x;
    long long whole;
    int small;
  };
  const IntegerCase cases[] = {
      {app::val(kTwentyNines), LLONG_MAX, INT_MAX},
      {app::val("-" + kTwentyNines), LLONG_MIN, INT_MIN},
      {9223372036854775807.0, LLONG_MAX, INT_MAX},  // 2^63 as a double
      {-9223372036854775808.0, LLONG_MIN, INT_MIN},
      {largest, LLONG_MAX, INT_MAX},
      {std::numeric_limits<double>::infinity(), LLONG_MAX, INT_MAX},
      {std::nan(""), 0, 0},
      {4e9, 4000000000LL, INT_MAX},
      {-2.5, -2, -2},
      {2.5, 2, 2},
      {1.5, 2, 2},
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(app::toInteger(c.x), c.whole) << c.x;
    EXPECT_EQ(app::toInt(c.x), c.small) << c.x;
  }
}

TEST(NumericValue, ShortestFormsReadBackAsTheSameNumber) {
  const char* texts[] = {
      "99999999999999999999", "0.0000001", "123456789012345678", "-1e", "0.1", "-0", "1.25"};
  const char* written[] = {
      "100000000000000000000", "0.0000001", "123456789012345680", "-1", "0.1", "0", "1.25"};
  for (size_t i = 0; i < std::size(texts); ++i) {
    const double x = app::val(texts[i]);
    EXPECT_EQ(app::shortest(x), written[i]) << texts[i];
    EXPECT_EQ(app::val(app::shortest(x)), x) << texts[i];
  }
}

// Every number field of the settings line holding twenty nines (or their
// negative) starts the window with clamped values: the lesson row beyond the
// list opens the first lesson, a check box is checked or not, the playback
// values keep their size and the pause timer waits as long as it can.
TEST(SettingsFile, NumbersBeyondEveryRangeClampAtStartUp) {
  struct Case {
    std::string number;
    int check;
    std::string playback;
    int interval;
  };
  const Case cases[] = {{kTwentyNines, 1, "100000000000000000000", INT_MAX},
                        {"-" + kTwentyNines, 0, "-100000000000000000000", INT_MIN}};
  for (const Case& c : cases) {
    FormHarness h;
    std::string line;
    for (int k = 0; k < 9; ++k) line += c.number + "\\";
    h.writeDefaultCourse(line + "Book01\\80\\");
    Form1& f = h.start();
    EXPECT_EQ(f.List1.listIndex(), 0) << c.number;
    EXPECT_EQ(f.Check1.value(), c.check) << c.number;
    EXPECT_EQ(f.Check2.value(), c.check) << c.number;
    EXPECT_EQ(f.Check3.value(), c.check) << c.number;
    EXPECT_EQ(f.Check4.value(), c.check) << c.number;
    EXPECT_EQ(f.Label1.visible(), c.check == 1) << c.number;
    EXPECT_EQ(f.Combo2.text(), c.playback) << c.number;
    EXPECT_EQ(f.Combo3.text(), c.playback) << c.number;
    EXPECT_EQ(f.Timer2.interval(), c.interval) << c.number;
    h.close();
    const std::string check = std::to_string(c.check);
    std::string saved = "0\\" + check + "\\" + check + "\\";
    for (int k = 0; k < 4; ++k) saved += c.playback + "\\";
    saved += check + "\\" + check + "\\Book01\\80\\";
    EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")), saved);
  }
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

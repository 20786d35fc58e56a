// Every text file and sound of the shipped program folder reads with the
// player's own reader and has the layout the player relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "course_folder.h"
#include "platform/text/files.h"
#include "platform/text/rich_text.h"

namespace course {
namespace {

const std::string kWhiteStar = "\u2606";
const std::string kReplacement =
    "\uFFFD";  // what the reader gives for a byte that is not code page 936

// The lesson titles of a book, checked for layout on the way.
std::vector<std::string> lessonTitles(const std::string& book) {
  auto text = readText("\\SETTING\\BookList\\" + book + ".dat");
  if (!text) {
    ADD_FAILURE() << book << ": lesson-title file unreadable";
    return {};
  }
  auto titles = splitList(*text, '^');
  if (!titles || titles->empty()) {
    ADD_FAILURE() << book << ": lesson-title file is not \"^\" title \"^\" ...";
    return {};
  }
  EXPECT_EQ(text->find(kReplacement), std::string::npos) << book << ": not code page 936";
  return *titles;
}

std::vector<Record> lessonRecords(const std::string& book, size_t number) {
  const std::string relative = "\\book\\" + book + "\\" + std::to_string(number) + ".dat";
  const std::string bytes = readBytes(pathOf(relative));
  EXPECT_FALSE(bytes.empty()) << relative;
  EXPECT_EQ(bytes.front(), '*') << relative;
  EXPECT_EQ(bytes.back(), '*') << relative << ": something follows the last \"*\"";
  auto text = readText(relative);
  if (!text) {
    ADD_FAILURE() << relative << ": unreadable";
    return {};
  }
  EXPECT_EQ(text->find(kReplacement), std::string::npos) << relative << ": not code page 936";
  auto items = splitList(*text, '*');
  if (!items) {
    ADD_FAILURE() << relative << ": not \"*\" record \"*\" ...";
    return {};
  }
  std::vector<Record> records;
  for (size_t i = 0; i < items->size(); ++i) {
    auto record = parseRecord((*items)[i]);
    if (!record) {
      ADD_FAILURE() << relative << " record " << i + 1
                    << " lacks five \"#\" or numeric times: " << (*items)[i];
      continue;
    }
    EXPECT_FALSE(record->english.empty() || record->chinese.empty() || record->note.empty())
        << relative << " record " << i + 1;
    EXPECT_TRUE(std::all_of(record->english.begin(), record->english.end(),
                            [](unsigned char c) { return c >= 0x20 && c < 0x7f; }))
        << relative << " record " << i + 1 << ": English the learner cannot type";
    EXPECT_EQ(record->english.find('^'), std::string::npos);
    EXPECT_LT(record->start, record->end) << relative << " record " << i + 1;
    records.push_back(*record);
  }
  return records;
}

TEST(CourseFiles, EveryBookHasItsLessonsAudioAndResults) {
  const auto books = bookTitles();
  ASSERT_FALSE(books.empty());
  for (const auto& book : books) {
    SCOPED_TRACE(book);
    const auto titles = lessonTitles(book);
    for (size_t n = 1; n <= titles.size(); ++n) {
      EXPECT_FALSE(titles[n - 1].empty());
      EXPECT_FALSE(lessonRecords(book, n).empty()) << "lesson " << n;
      EXPECT_TRUE(platform::fileExists(
          pathOf("\\Sound\\" + book + "\\" + std::to_string(n) + audioExtension(book))))
          << "lesson " << n << " has no audio";
    }
    // No lesson file beyond the title file's count: the count is what the player shows.
    EXPECT_FALSE(platform::fileExists(
        pathOf("\\book\\" + book + "\\" + std::to_string(titles.size() + 1) + ".dat")));

    auto results = readText("\\SETTING\\Results\\" + book + ".dat");
    ASSERT_TRUE(results) << "results file unreadable";
    auto entries = splitList(*results, '^');
    ASSERT_TRUE(entries) << "results file is not \"^\" entry \"^\" ...";
    ASSERT_EQ(entries->size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i) EXPECT_EQ((*entries)[i], kWhiteStar + titles[i]);
    // Marking a lesson passed replaces every "☆" + its title, so no title may begin another.
    for (const auto& a : titles)
      for (const auto& b : titles)
        if (&a != &b) {
          EXPECT_NE(b.rfind(a, 0), 0u) << a << " begins " << b;
        }
  }
}

TEST(CourseFiles, DemoBooksHaveTheirSize) {
  // Book01 is the everyday-English book a new user studies at once; one lesson
  // overflows the full-text page. Book04 keeps the wma path in use.
  const auto book01 = lessonTitles("Book01");
  ASSERT_GE(book01.size(), 6u);
  size_t longest = 0;
  for (size_t n = 1; n <= book01.size(); ++n) {
    const size_t count = lessonRecords("Book01", n).size();
    EXPECT_GE(count, 8u) << "lesson " << n;
    EXPECT_LE(count, 30u) << "lesson " << n;
    longest = std::max(longest, count);
  }
  EXPECT_GE(longest, 25u);
  EXPECT_EQ(lessonTitles("Book04").size(), 2u);
  EXPECT_EQ(audioExtension("Book04"), ".wma");
}

// The lesson loader takes a lesson that is valid UTF-8 as UTF-8: every shipped
// lesson (code page 936) still reads as code page 936, and the same lesson
// saved as UTF-8, with or without a byte-order mark, reads the same.
TEST(CourseFiles, LessonsReadTheSameInCodePage936AndInUtf8) {
  int lessons = 0;
  for (const std::string& book : bookTitles())
    for (size_t n = 1; n <= lessonTitles(book).size(); ++n, ++lessons) {
      const std::string relative = "\\book\\" + book + "\\" + std::to_string(n) + ".dat";
      SCOPED_TRACE(relative);
      const std::string cp936 = readBytes(pathOf(relative));
      const std::string text = platform::decodeCp936(cp936);
      ASSERT_NE(text, cp936) << "holds Chinese";
      EXPECT_FALSE(platform::looksLikeUtf8(cp936));
      const std::string folder = testing::TempDir();
      for (const std::string& bytes : {cp936, text, "\xEF\xBB\xBF" + text}) {
        const std::string file = folder + "/lesson.dat";
        { std::ofstream(file, std::ios::binary) << bytes; }
        platform::RichTextBox box;
        ASSERT_EQ(box.loadFile(file, platform::RichTextBox::PlainText::Utf8OrCp936),
                  platform::RichTextBox::Load::Ok);
        EXPECT_EQ(box.text(), text);
      }
    }
  EXPECT_GE(lessons, 8);
}

TEST(CourseFiles, SettingsOpenTheFirstLessonOfBook01) {
  const std::string line = "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\";
  std::string escaped;
  for (char c : line) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  const std::string expected =
      "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
      "\\'cb\\'ce\\'cc\\'e5;}}\r\n"
      "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 " +
      escaped + "\r\n\\par }\r\n";
  EXPECT_EQ(readBytes(pathOf("\\SETTING\\set.dat")), expected);

  auto text = readText("\\SETTING\\set.dat");
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, line);
  // The book it names exists and its saved lesson row is a lesson of that book.
  EXPECT_FALSE(lessonTitles("Book01").empty());
}

TEST(CourseFiles, SoundsAreShortQuiet16BitPcm) {
  struct Case {
    const char* relative;
    bool silentFile;
  };
  for (const Case& c :
       {Case{"\\SETTING\\Sound\\MouDown.wav", false}, Case{"\\SETTING\\Sound\\MouUp.wav", false},
        Case{"\\SETTING\\Sound\\type.wav", false}, Case{"\\SETTING\\Sound\\wrong.wav", false},
        Case{"\\Recorder.wav", true}}) {
    SCOPED_TRACE(c.relative);
    auto wav = readWav(pathOf(c.relative));
    ASSERT_TRUE(wav) << "not a wave file";
    EXPECT_EQ(wav->format, 1);  // PCM
    EXPECT_EQ(wav->bits, 16);
    EXPECT_GE(wav->channels, 1);
    EXPECT_GE(wav->rate, 8000);
    ASSERT_FALSE(wav->samples.empty());
    EXPECT_LT(wav->samples.size() / wav->channels, size_t(wav->rate)) << "longer than a second";
    int peak = 0;
    for (int16_t s : wav->samples) peak = std::max(peak, std::abs(int(s)));
    if (c.silentFile) {
      EXPECT_EQ(peak, 0);
    } else {
      EXPECT_GT(peak, 1000) << "inaudible";
      EXPECT_LT(peak, 16384) << "louder than half scale";
    }
  }
}

}  // namespace
}  // namespace course

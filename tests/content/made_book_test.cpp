// A book written by the book maker (parlenda-make-book), read with the player's
// own readers. The book maker's test (tests/make_book) makes
// books from recordings and subtitles, names their program folder in
// PARLENDA_MADE_BOOK and runs this; it compares what is read here, written to
// PARLENDA_MADE_BOOK_READ, with what it meant to write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/course_library.h"
#include "content/lesson_text.h"
#include "platform/text/files.h"
#include "platform/text/rich_text.h"

namespace {

const std::string kWhiteStar = "\u2606";
const std::string kReplacement = "\uFFFD";  // a byte that is not code page 936

std::string readText(const std::string& folder, const std::string& relative) {
  platform::RichTextBox box;
  EXPECT_EQ(box.loadFile(platform::programPath(folder, relative)), platform::RichTextBox::Load::Ok)
      << relative;
  EXPECT_EQ(box.text().find(kReplacement), std::string::npos) << relative << ": not code page 936";
  return box.text();
}

double seconds(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// Every record of a lesson, checked for what the player relies on, and written
// out one a line: number, English, Chinese, start, end, note (tab-separated).
void readLesson(const std::string& folder, const std::string& book, size_t number,
                std::ostream& out) {
  SCOPED_TRACE("lesson " + std::to_string(number));
  const std::string text =
      readText(folder, "\\book\\" + book + "\\" + std::to_string(number) + ".dat");
  EXPECT_EQ(content::repairLessonText(text), text)
      << "not \"*\" record \"*\" ... with nothing after";
  const int count = content::countSentences(text);
  EXPECT_GT(count, 0);
  double previousEnd = 0;
  for (int from = 1, k = 1; k <= count; ++k) {
    const int to = content::findFrom(text, '*', from + 1);
    const auto record = content::parseRecord(std::string_view(text).substr(from, to - from - 1));
    from = to;
    EXPECT_EQ(record.hashes, 5) << "record " << k;
    EXPECT_TRUE(record.playable()) << "record " << k;
    EXPECT_LE(previousEnd, seconds(record.start)) << "record " << k << " starts in the one before";
    EXPECT_LT(seconds(record.start), seconds(record.end)) << "record " << k;
    previousEnd = seconds(record.end);
    out << number << '\t' << record.english << '\t' << record.chinese << '\t' << record.start
        << '\t' << record.end << '\t' << record.note << '\n';
  }
  EXPECT_TRUE(platform::fileExists(platform::programPath(
      folder, "\\Sound\\" + book + "\\" + std::to_string(number) + content::audioExtension(book))))
      << "no audio";
}

TEST(MadeBook, ReadsWithThePlayersReaders) {
  const char* folder = std::getenv("PARLENDA_MADE_BOOK");
  const char* readPath = std::getenv("PARLENDA_MADE_BOOK_READ");
  if (!folder || !readPath) GTEST_SKIP() << "run by the book maker's test over a book it made";
  std::ofstream out(readPath, std::ios::binary);
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(folder) + "/SETTING/BookList")) {
    const std::string book = entry.path().stem().string();
    SCOPED_TRACE(book);
    EXPECT_TRUE(content::isSafeBookTitle(book));
    const auto titles =
        content::splitCaretList(readText(folder, "\\SETTING\\BookList\\" + book + ".dat"));
    const auto results =
        content::splitCaretList(readText(folder, "\\SETTING\\Results\\" + book + ".dat"));
    ASSERT_FALSE(titles.empty());
    ASSERT_EQ(results.size(), titles.size());
    out << "book\t" << book << '\n';
    for (size_t n = 1; n <= titles.size(); ++n) {
      EXPECT_EQ(results[n - 1], kWhiteStar + titles[n - 1]);
      out << "title\t" << titles[n - 1] << '\n';
      readLesson(folder, book, n, out);
    }
  }
}

}  // namespace

#include "make_book/book_fixture.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "bookmaker/speech.h"
#include "platform/text/rich_text.h"

namespace book_test {

namespace {

bookmaker::Samples silence(double seconds) {
  return bookmaker::Samples(std::size_t(std::nearbyint(seconds * bookmaker::kSpeechRate)), 0);
}

void append(bookmaker::Samples& to, const bookmaker::Samples& more) {
  to.insert(to.end(), more.begin(), more.end());
}

std::string quoted(const std::string& argument) {
  std::string q = "'";
  for (const char c : argument) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

Spoken spokenLesson(const std::vector<std::string>& englishes, const Pacing& pacing) {
  Spoken lesson{silence(pacing.lead), {}};
  for (std::size_t k = 0; k < englishes.size(); ++k) {
    if (k) append(lesson.samples, silence(pacing.gaps[(k - 1) % pacing.gaps.size()]));
    const auto first = double(lesson.samples.size());
    std::size_t from = 0;
    for (bool firstPart = true;; firstPart = false) {
      const std::size_t comma = englishes[k].find(", ", from);
      if (!firstPart) append(lesson.samples, silence(pacing.comma));
      append(lesson.samples,
             bookmaker::speak(englishes[k].substr(from, comma - from), pacing.voice, pacing.rate));
      if (comma == std::string::npos) break;
      from = comma + 2;
    }
    lesson.spans.push_back(
        {first / bookmaker::kSpeechRate, double(lesson.samples.size()) / bookmaker::kSpeechRate});
  }
  append(lesson.samples, silence(pacing.tail));
  return lesson;
}

std::vector<bookmaker::Span> writeLessonWav(const fs::path& path,
                                            const std::vector<std::string>& englishes,
                                            const Pacing& pacing) {
  fs::create_directories(path.parent_path());
  const Spoken lesson = spokenLesson(englishes, pacing);
  bookmaker::writeWav(path.string(), lesson.samples, bookmaker::kSpeechRate);
  return lesson.spans;
}

std::string encoded(const std::string& utf8, const char* encoding) {
  iconv_t cd = iconv_open(encoding, "UTF-8");
  std::string out(utf8.size() * 4 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* at = out.data();
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &in, &inLeft, &at, &outLeft), std::size_t(-1)) << encoding;
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

int shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ToolRun makeBook(const std::vector<std::string>& arguments) {
  const char* tool = std::getenv("PARLENDA_MAKE_BOOK");
  EXPECT_NE(tool, nullptr) << "PARLENDA_MAKE_BOOK names the command (ctest sets it)";
  const fs::path scratch =
      fs::temp_directory_path() / ("make_book_run." + std::to_string(getpid()));
  std::string command = quoted(tool ? tool : "parlenda-make-book");
  for (const std::string& a : arguments) command += " " + quoted(a);
  command += " >" + quoted(scratch.string() + ".out") + " 2>" + quoted(scratch.string() + ".err");
  ToolRun run{shell(command), readBytes(scratch.string() + ".out"),
              readBytes(scratch.string() + ".err")};
  fs::remove(scratch.string() + ".out");
  fs::remove(scratch.string() + ".err");
  return run;
}

std::vector<std::string> separated(const std::string& text, char mark) {
  if (text.empty() || text.front() != mark || text.back() != mark) {
    ADD_FAILURE() << "not a list of '" << mark << "': " << text.substr(0, 40);
    return {};
  }
  std::vector<std::string> items(1);
  for (std::size_t k = 1; k < text.size(); ++k) {
    if (text[k] == mark)
      items.emplace_back();
    else
      items.back() += text[k];
  }
  items.pop_back();  // what follows the last mark: nothing
  return items;
}

std::string readCp936(const fs::path& path) {
  const std::string text = platform::decodeCp936(readBytes(path));
  EXPECT_EQ(text.find("\uFFFD"), std::string::npos) << path << ": not code page 936";
  return text;
}

std::vector<std::vector<std::string>> lessonFields(const fs::path& path) {
  std::vector<std::vector<std::string>> records;
  for (const std::string& record : separated(readCp936(path), '*')) {
    std::vector<std::string> fields(1);
    for (const char c : record) {
      if (c == '#')
        fields.emplace_back();
      else
        fields.back() += c;
    }
    EXPECT_TRUE(fields.size() == 6 && fields[5].empty()) << path << ": not five fields: " << record;
    fields.resize(5);
    records.push_back(fields);
  }
  return records;
}

std::vector<ReadRecord> readLesson(const fs::path& path) {
  std::vector<ReadRecord> records;
  for (const auto& f : lessonFields(path))
    records.push_back(
        {f[0], f[1], std::strtod(f[2].c_str(), nullptr), std::strtod(f[3].c_str(), nullptr), f[4]});
  return records;
}

std::string timestamp(double seconds, char comma) {
  const long ms = std::lround(seconds * 1000);
  char text[32];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld%c%03ld", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, comma, ms % 1000);
  return text;
}

std::string lrcTime(double seconds) {
  const long cs = std::lround(seconds * 100);
  char text[32];
  std::snprintf(text, sizeof text, "[%02ld:%02ld.%02ld]", cs / 6000, cs / 100 % 60, cs % 100);
  return text;
}

}  // namespace book_test

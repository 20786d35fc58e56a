// Bad input is told with its file and line and exit code 1, and no book is
// written: a book of the same title already there stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "make_book/book_fixture.h"

namespace book_test {
namespace {

const std::vector<std::string> kSpoken = {"I like tea.", "She likes coffee, with milk.",
                                          "Tom drinks water."};

class BadInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch = fs::temp_directory_path() / ("make_book_bad." + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    wav = scratch / "talk.wav";
    Pacing pacing;
    pacing.gaps = {0.5};
    spans = writeLessonWav(wav, kSpoken, pacing);
    duration = spans.back().end + 0.5;
  }
  static void TearDownTestSuite() { fs::remove_all(scratch); }

  static std::string srt(const std::vector<bookmaker::Span>& list) {
    std::string text;
    for (std::size_t k = 0; k < list.size(); ++k)
      text += std::to_string(k + 1) + "\n" + timestamp(list[k].start, ',') + " --> " +
              timestamp(list[k].end, ',') + "\nSome words.\n\n";
    return text;
  }

  static inline fs::path scratch, wav;
  static inline std::vector<bookmaker::Span> spans;
  static inline double duration = 0;
};

// A file of the lesson folder: its bytes, or kRecording for a copy of the recording.
using Content = std::string;
const std::string kRecording = "(the recording)";

struct Case {
  std::string name;
  std::map<std::string, Content> files;
  std::vector<std::string> options;
  std::vector<std::string> told;
};

TEST_F(BadInput, IsToldAndWritesNothing) {
  const auto [a1, b1] = spans[0];
  const auto [a2, b2] = spans[1];
  std::string talk = "Talk\n";
  for (const auto& e : kSpoken) talk += e + "\n";
  const std::vector<Case> cases = {
      {"cues overlap",
       {{"x.wav", kRecording}, {"x.srt", srt({{a1, b1 + 0.8}, {a2, b2}})}},
       {},
       {"x.srt:6", "before the cue above it ends"}},
      {"a cue runs backwards",
       {{"x.wav", kRecording}, {"x.srt", srt({{b1, a1}, {a2, b2}})}},
       {},
       {"x.srt:2", "before it starts"}},
      {"a time beyond the audio",
       {{"x.wav", kRecording}, {"x.srt", srt({{a1, b1}, {a2, duration + 3}})}},
       {},
       {"x.srt:6", "beyond the end of x.wav"}},
      {"audio that cannot be decoded",
       {{"x.mp3",
         [] {
           std::string s;
           for (int k = 0; k < 50; ++k) s += "not audio at all";
           return s;
         }()},
        {"x.srt", srt({{a1, b1}})}},
       {},
       {"x.mp3", "cannot be decoded"}},
      {"a transcript line that is not spoken",
       {{"x.wav", kRecording},
        {"x.txt", talk + "Thank you very much for listening to us today.\n"}},
       {},
       {"cannot be aligned to x.wav", "x.txt:5"}},
      {"a spoken sentence missing from the transcript",
       {{"x.wav", kRecording}, {"x.txt", "Talk\n" + kSpoken[0] + "\n" + kSpoken[2] + "\n"}},
       {},
       {"cannot be aligned to x.wav", "between", "x.txt:2", "is in no line"}},
      {"the last spoken sentence missing from the transcript",
       {{"x.wav", kRecording}, {"x.txt", "Talk\n" + kSpoken[0] + "\n" + kSpoken[1] + "\n"}},
       {},
       {"cannot be aligned to x.wav", "after", "x.txt:3", "is in no line"}},
      {"a lyric line with no time",
       {{"x.wav", kRecording}, {"x.lrc", "[00:00.50]I like tea.\nShe likes coffee.\n"}},
       {},
       {"x.lrc:2", "no [mm:ss.xx] time"}},
      {"a cue with no English",
       {{"x.wav", kRecording}, {"x.lrc", "[00:00.50]我喜欢茶。\n"}},
       {},
       {"x.lrc:1", "no English"}},
      {"a text in no known encoding",
       {{"x.wav", kRecording}, {"x.srt", std::string("1\n\xff\xfe\xff\xff\x80\n")}},
       {"--encoding", "utf-8"},
       {"x.srt:2", "not valid utf-8"}},
      {"an encoding no one knows",
       {{"x.txt", std::string("X\nHello.\n")}},
       {"--encoding", "klingon"},
       {"unknown encoding 'klingon'"}},
      {"a recording with no text",
       {{"x.wav", kRecording}, {"y.txt", std::string("Y\nHello.\n")}},
       {},
       {"x.wav", "no script or subtitles"}},
      {"subtitles with no recording",
       {{"x.srt", srt({{a1, b1}})}},
       {},
       {"x.srt", "subtitles with no recording"}},
      {"two texts for one lesson",
       {{"x.wav", kRecording},
        {"x.srt", srt({{a1, b1}})},
        {"x.lrc", std::string("[00:00.50]Hi.\n")}},
       {},
       {"one lesson, two texts"}},
      {"a title that is no safe folder name",
       {{"x.txt", std::string("X\nHello.\n")}},
       {"--title", "My/Book"},
       {"'My/Book'", "not a safe folder name (it holds '/')"}},
      {"lesson titles one beginning the other",
       {{"a.txt", std::string("Lesson\nHello.\n")}, {"b.txt", std::string("Lesson 2\nHello.\n")}},
       {},
       {"lesson titles 'Lesson' and 'Lesson 2': one begins the other"}},
      {"English the learner cannot type",
       {{"x.txt", std::string("X\nHello, 世界.\n")}},
       {},
       {"x.txt:2", "letters the learner cannot type"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string folder = c.name;
    std::replace(folder.begin(), folder.end(), ' ', '-');
    const fs::path lessons = scratch / folder, program = scratch / (folder + ".program");
    for (const auto& [name, content] : c.files) {
      fs::create_directories(lessons);
      if (content == kRecording)
        fs::copy_file(wav, lessons / name);
      else
        writeBytes(lessons / name, content);
    }
    const std::map<std::string, std::string> before = {{"book/Mine/1.dat", "*old#*"},
                                                       {"SETTING/BookList/Mine.dat", "^old^"}};
    for (const auto& [relative, data] : before) writeBytes(program / relative, data);
    std::vector<std::string> arguments = {lessons.string(), program.string()};
    if (std::find(c.options.begin(), c.options.end(), "--title") == c.options.end())
      arguments.insert(arguments.end(), {"--title", "Mine"});
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ToolRun run = makeBook(arguments);
    EXPECT_EQ(run.code, 1) << run.out << run.err;
    for (const std::string& words : c.told)
      EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("make_book: no book was written"), std::string::npos) << run.err;
    std::map<std::string, std::string> after;
    for (const auto& entry : fs::recursive_directory_iterator(program))
      if (entry.is_regular_file())
        after[fs::relative(entry.path(), program).string()] = readBytes(entry.path());
    EXPECT_EQ(after, before);
    std::vector<std::string> top;
    for (const auto& entry : fs::directory_iterator(program))
      top.push_back(entry.path().filename().string());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"SETTING", "book"}));
  }
}

TEST(Arguments, AreToldWithTheirUsage) {
  const ToolRun none = makeBook({});
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("usage: parlenda-make-book"), std::string::npos) << none.err;
  EXPECT_NE(none.err.find("the following arguments are required"), std::string::npos) << none.err;
  const ToolRun unknown = makeBook({"a", "b", "--loud"});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("unrecognized arguments: --loud"), std::string::npos) << unknown.err;
  const ToolRun help = makeBook({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("--program-files"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace book_test

// Texts in every encoding a teacher's editor saves, the timed-text forms LRC
// players and subtitle editors write, and the library's progress reports
// and cancellation (the program's dialog shows and offers them).
#include <gtest/gtest.h>

#include "bookmaker/book_error.h"
#include "bookmaker/book_maker.h"
#include "bookmaker/timed_text.h"
#include "make_book/book_fixture.h"

namespace book_test {
namespace {

using bookmaker::BookError;

std::string faultOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const BookError& error) {
    return error.what();
  }
  return "(no fault)";
}

const bookmaker::Tell kQuiet = [](const std::string&) {};

TEST(TextReading, EncodingsAreDetectedOrNamed) {
  const std::string text = "第一课 Greetings\nGood morning. | 早上好。\n";
  const std::optional<std::string> detected;
  const std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> cases = {
      {"UTF-8", text, detected},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + text, detected},
      {"UTF-16 little-endian", "\xFF\xFE" + encoded(text, "UTF-16LE"), detected},
      {"UTF-16 big-endian", "\xFE\xFF" + encoded(text, "UTF-16BE"), detected},
      {"GB18030", encoded(text, "GB18030"), detected},
      {"code page 936", encoded(text, "GBK"), detected},
      {"code page 936, named", encoded(text, "GBK"), "cp936"},
      {"UTF-16 without its mark, named", encoded(text, "UTF-16BE"), "utf-16-be"},
  };
  for (const auto& [name, data, encoding] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(bookmaker::decodeText(data, "x.txt", encoding), text);
  }
  EXPECT_EQ(faultOf([] { bookmaker::decodeText("line one\n\xb5\xda\n", "x.txt", "utf-8"); }),
            "x.txt:2: not valid utf-8");
  EXPECT_EQ(faultOf([&] {
              bookmaker::decodeText(encoded(text, "UTF-16LE"), "x.txt", std::nullopt);
            }).rfind("x.txt: UTF-16 without a byte-order mark", 0),
            0u);
  EXPECT_NE(faultOf([] { bookmaker::decodeText("", "x.txt", "klingon"); }).find("unknown encoding"),
            std::string::npos);
  EXPECT_EQ(faultOf([] { bookmaker::decodeText("ok\n\x81\x30\xff\n", "x.txt", std::nullopt); }),
            "x.txt:2: neither UTF-8 nor GB18030; name the encoding with --encoding");
}

struct Got {
  double start;
  std::optional<double> end;
  std::string english, chinese, note;
  bool operator==(const Got&) const = default;
};

std::vector<Got> cuesOf(const bookmaker::TimedText& timed) {
  std::vector<Got> got;
  for (const auto& c : timed.cues)
    got.push_back({c.start, c.end, c.sentence.english, c.sentence.chinese, c.sentence.note});
  return got;
}

TEST(TextReading, LrcAsPlayersReadIt) {
  const auto timed = bookmaker::parseLrc(
      "[ti:Lesson Two]\n[ar:Ann]\n[length:01:02]\n[offset:-500]\n"
      "[00:05.5]Second. / 第二。\n"           // tenths; read after the line below
      "[00:01.00][00:09]Again, and again.\n"  // two times; a time without a fraction
      "[00:01.00]一遍又一遍。\n"              // the Chinese of the same time
      "[00:07.250]<00:07.250>Word <00:07.900>times. | 词 | note\n"
      "[00:08.00]\n"  // ends the line before
      "[00:10.00]\n"  // a time with text below: not an end
      "[00:10.00]Last.\n",
      "x", kQuiet);
  EXPECT_EQ(timed.title, "Lesson Two");
  EXPECT_EQ(cuesOf(timed),
            (std::vector<Got>{{1.5, std::nullopt, "Again, and again.", "一遍又一遍。", ""},
                              {6.0, std::nullopt, "Second.", "第二。", ""},
                              {7.75, std::nullopt, "Word times.", "词", "note"},
                              {9.5, std::nullopt, "Again, and again.", "", ""},
                              {10.5, std::nullopt, "Last.", "", ""}}));
  std::vector<std::optional<double>> limits;
  for (const auto& c : timed.cues) limits.push_back(c.limit);
  EXPECT_EQ(limits, (std::vector<std::optional<double>>{6.0, 7.75, 8.5, 10.5, std::nullopt}));
}

TEST(TextReading, SrtAndVttCues) {
  const auto srt = bookmaker::parseSrt(
      "1\n00:00:01,000 --> 00:00:02,500\n<i>Hello</i> there.\n你好。\n\n"
      "2\n01:00:03,000 --> 01:00:04,000\n{\\an8}Rock &amp; roll.\n",
      "x", kQuiet);
  EXPECT_EQ(cuesOf(srt), (std::vector<Got>{{1.0, 2.5, "Hello there.", "你好。", ""},
                                           {3603.0, 3604.0, "Rock & roll.", "", ""}}));
  const auto vtt = bookmaker::parseVtt(
      "WEBVTT - a talk\n\nSTYLE\n::cue { color: red }\n\nNOTE a note\n\n"
      "intro\n00:01.000 --> 00:02.000 line:0\n<v Ann>Hi.</v> / 嗨。\n",
      "x", kQuiet);
  EXPECT_EQ(cuesOf(vtt), (std::vector<Got>{{1.0, 2.0, "Hi.", "嗨。", ""}}));
}

TEST(TextReading, FaultsNameTheirLine) {
  using Reader = bookmaker::TimedTextReader;
  const std::vector<std::tuple<Reader, std::string, std::string>> cases = {
      {bookmaker::parseLrc, "[00:01.00]One.\n[00:01.00]Two.\n", "x:1: two English lines"},
      {bookmaker::parseLrc, "[offset:soon]\n", "x:1: [offset:] must be whole milliseconds"},
      {bookmaker::parseSrt, "1\n00:00:01,000 -> 00:00:02,000\nHi.\n",
       "x:1: a cue with no \"start --> end\""},
      {bookmaker::parseSrt, "1\n00:00:01,000 --> 00:00:02,000\n\n", "x:2: a cue with no text"},
      {bookmaker::parseSrt, "1\n00:00:01,000 --> 00:00:02,000\n你好。\n",
       "x:2: a cue with no English"},
      {bookmaker::parseVtt, "00:01.000 --> 00:02.000\nHi.\n", "x:1: a WebVTT file begins with"},
  };
  for (const auto& [read, text, told] : cases) {
    SCOPED_TRACE(told);
    const Reader reader = read;  // a lambda may not capture a structured binding (Clang)
    const std::string& input = text;
    EXPECT_EQ(faultOf([&] { reader(input, "x", kQuiet); }).rfind(told, 0), 0u);
  }
}

// A script book of two lessons, made by the library.
fs::path scriptBook(const std::string& name) {
  const fs::path lessons = fs::temp_directory_path() / (name + "." + std::to_string(getpid()));
  fs::remove_all(lessons);
  writeBytes(lessons / "01-one.txt", "One\nHello. | 你好。\nGood night.\n");
  writeBytes(lessons / "02-two.txt", "Two\nThank you.\n");
  return lessons;
}

TEST(Library, ReportsLessonStageAndFraction) {
  const fs::path lessons = scriptBook("progress");
  std::vector<bookmaker::Report> reports;
  bookmaker::Progress progress([&](const bookmaker::Report& r) { reports.push_back(r); });
  const auto titles = bookmaker::makeBook(
      {lessons.string(), (lessons / "program").string(), "Mine", {}, false}, kQuiet, progress);
  EXPECT_EQ(titles, (std::vector<std::string>{"One", "Two"}));
  ASSERT_FALSE(reports.empty());
  int lastLesson = 0;
  for (const auto& r : reports) {
    EXPECT_EQ(r.lessons, 2);
    EXPECT_GE(r.lesson, lastLesson) << "lessons come in order";
    EXPECT_GE(r.fraction, 0);
    EXPECT_LE(r.fraction, 1);
    lastLesson = r.lesson;
  }
  EXPECT_EQ(lastLesson, 2);
  const auto sawStage = [&](bookmaker::Stage s, int lesson) {
    return std::any_of(reports.begin(), reports.end(),
                       [&](const auto& r) { return r.stage == s && r.lesson == lesson; });
  };
  for (const int lesson : {1, 2}) {
    EXPECT_TRUE(sawStage(bookmaker::Stage::Speaking, lesson)) << lesson;
    EXPECT_TRUE(sawStage(bookmaker::Stage::Encoding, lesson)) << lesson;
    EXPECT_TRUE(sawStage(bookmaker::Stage::Writing, lesson)) << lesson;
  }
  fs::remove_all(lessons);
}

// Cancelled from inside a lesson's stage (as a dialog's button does, from
// the thread it reports to), the maker stops and writes nothing.
TEST(Library, StopsWhenCancelledAndWritesNothing) {
  const fs::path lessons = scriptBook("cancel");
  const fs::path program = lessons / "program";
  for (const auto stage : {bookmaker::Stage::Speaking, bookmaker::Stage::Checking}) {
    SCOPED_TRACE(bookmaker::stageName(stage));
    bookmaker::Progress* self = nullptr;
    int reportsAfter = 0;
    bool cancelled = false;
    bookmaker::Progress progress([&](const bookmaker::Report& r) {
      if (cancelled) ++reportsAfter;
      if (r.lesson == 2 && r.stage == stage && !cancelled) {
        cancelled = true;
        self->cancel();
      }
    });
    self = &progress;
    EXPECT_THROW(bookmaker::makeBook({lessons.string(), program.string(), "Mine", {}, false},
                                     kQuiet, progress),
                 bookmaker::Cancelled);
    EXPECT_TRUE(cancelled);
    EXPECT_LE(reportsAfter, 1) << "went on working after the cancel";
    EXPECT_FALSE(fs::exists(program / "book" / "Mine"));
    EXPECT_FALSE(fs::exists(program / "SETTING" / "BookList" / "Mine.dat"));
    if (fs::exists(program)) {
      for (const auto& entry : fs::directory_iterator(program)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("."))
            << "the work folder was left behind";
      }
    }
  }
  fs::remove_all(lessons);
}

// A recording is cancelled from inside its decoding, between two chunks.
TEST(Library, StopsInsideTheDecoding) {
  const fs::path lessons =
      fs::temp_directory_path() / ("cancel-decode." + std::to_string(getpid()));
  fs::remove_all(lessons);
  Pacing pacing;
  pacing.gaps = {0.5};
  fs::create_directories(lessons);
  std::vector<std::string> many(12, "I like tea with milk.");
  const auto spans = writeLessonWav(lessons / "x.wav", many, pacing);
  std::string srt;
  for (std::size_t k = 0; k < spans.size(); ++k)
    srt += std::to_string(k + 1) + "\n" + timestamp(spans[k].start, ',') + " --> " +
           timestamp(spans[k].end, ',') + "\nI like tea with milk.\n\n";
  writeBytes(lessons / "x.srt", srt);
  double cancelledAt = -1;
  bookmaker::Progress* self = nullptr;
  bookmaker::Progress progress([&](const bookmaker::Report& r) {
    if (r.stage == bookmaker::Stage::Decoding && r.fraction > 0.2 && cancelledAt < 0) {
      cancelledAt = r.fraction;
      self->cancel();
    }
  });
  self = &progress;
  EXPECT_THROW(
      bookmaker::makeBook({lessons.string(), (lessons / "program").string(), "Mine", {}, false},
                          kQuiet, progress),
      bookmaker::Cancelled);
  EXPECT_GT(cancelledAt, 0.2);
  EXPECT_LT(cancelledAt, 0.9) << "the decoding reported no fraction between its start and end";
  EXPECT_FALSE(fs::exists(lessons / "program" / "book" / "Mine"));
  fs::remove_all(lessons);
}

}  // namespace
}  // namespace book_test

namespace book_test {
namespace {

TEST(TimedText, AssEventsAsSubtitlePlayersShowThem) {
  const std::string ass =
      "[Script Info]\nTitle: x\n\n[V4+ Styles]\nFormat: Name, Fontname\nStyle: Default,Arial\n\n"
      "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: 0,0:00:03.00,0:00:04.50,Default,,0,0,0,,{\\i1}Second, line.{\\i0}\\N第二句。\n"
      "Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Not shown.\n"
      "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\pos(10,10)}你好。\\NHello,\\hthere.\n"
      "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,{\\p1}m 0 0 l 100 0 100 100{\\p0}Drawn "
      "away.\n";
  EXPECT_EQ(cuesOf(bookmaker::parseAss(ass, "x.ass", kQuiet)),
            (std::vector<Got>{{1.0, 2.0, "Hello, there.", "你好。", ""},
                              {3.0, 4.5, "Second, line.", "第二句。", ""},
                              {5.0, 6.0, "Drawn away.", "", ""}}));
  // English and Chinese in two styles, their times a little apart.
  const std::string styles =
      "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: 0,0:00:01.00,0:00:02.00,EN,,0,0,0,,Good morning.\n"
      "Dialogue: 0,0:00:01.02,0:00:02.01,CN,,0,0,0,,早上好。\n"
      "Dialogue: 0,0:00:02.50,0:00:03.50,EN,,0,0,0,,Good night.\n"
      "Dialogue: 0,0:00:02.49,0:00:03.40,CN,,0,0,0,,晚安。\n";
  EXPECT_EQ(cuesOf(bookmaker::parseAss(styles, "x.ass", kQuiet)),
            (std::vector<Got>{{1.0, 2.0, "Good morning.", "早上好。", ""},
                              {2.5, 3.5, "Good night.", "晚安。", ""}}));
}

TEST(TimedText, CuesThatAreNotSpeechAreCleanedOrLeftOut) {
  std::vector<std::string> told;
  const auto timed = bookmaker::parseSrt(
      "1\n00:00:01,000 --> 00:00:02,000\n[Music]\n\n"
      "2\n00:00:02,000 --> 00:00:03,000\nJOHN: Hello (laughs) there.\n\n"
      "3\n00:00:03,000 --> 00:00:04,000\n- Are you sure?\n- Yes.\n\n"
      "4\n00:00:04,000 --> 00:00:05,000\n♪ ♪\n\n"
      "5\n00:00:05,000 --> 00:00:06,000\n(DOOR CLOSES)\n",
      "x.srt", [&](const std::string& line) { told.push_back(line); });
  EXPECT_EQ(cuesOf(timed), (std::vector<Got>{{2.0, 3.0, "Hello there.", "", ""},
                                             {3.0, 4.0, "Are you sure? Yes.", "", ""}}));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("x.srt: 3 cues with no speech to type left out"), std::string::npos)
      << told[0];
}

TEST(TimedText, TwoTextsOfOneRecordingMeetByTime) {
  const auto english = bookmaker::srtCues(
      "1\n00:00:01,000 --> 00:00:03,000\nWhere is the station?\n\n2\n00:00:03,500 --> "
      "00:00:05,000\nGo straight on.\n",
      "ep.en.srt");
  // The Chinese cues are cut differently: each goes where it overlaps most.
  const auto chinese = bookmaker::srtCues(
      "1\n00:00:00,900 --> 00:00:02,000\n车站\n\n2\n00:00:02,000 --> 00:00:03,100\n在哪里？\n\n"
      "3\n00:00:03,400 --> 00:00:05,100\n一直走。\n\n4\n00:00:09,000 --> "
      "00:00:10,000\n（片尾）谢谢观看\n",
      "ep.zh.srt");
  EXPECT_EQ(cuesOf(bookmaker::sentencesOf(english, chinese, "ep.en.srt", kQuiet)),
            (std::vector<Got>{{1.0, 3.0, "Where is the station?", "车站 在哪里？", ""},
                              {3.5, 5.0, "Go straight on.", "一直走。", ""}}));
}

}  // namespace
}  // namespace book_test

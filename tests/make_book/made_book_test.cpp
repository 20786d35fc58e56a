// parlenda-make-book on lesson folders made at test time: espeak-ng speech
// joined with pauses of chosen lengths (a comma's pause longer than the pause
// between two sentences), with LRC, SRT and WebVTT in several encodings, and
// a bare transcript. The book is read back as the player reads it and every
// stretch is checked against the true times of its sentence: it begins at
// most 150 ms before its sentence's first sound and ends at most 150 ms after
// its last, holds all of it, and holds nothing of a neighbour's speech.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "make_book/book_fixture.h"

namespace book_test {
namespace {

constexpr double kTolerance = 0.150;
const std::string kWhiteStar = "\u2606";

struct Line {
  std::string english, chinese, note;
};
const std::vector<Line> kLecture = {  // comma pauses of 0.6 s, sentence gaps down to 0.1 s
    {"Good morning, everyone, and welcome to the course.", "大家早上好，欢迎来到本课程。",
     "welcome"},
    {"Today we talk about travel.", "今天我们谈谈旅行。", ""},
    {"Please open your books, at page 10.", "请打开书，翻到第十页。", "page # 10"},
    {"Thank you.", "谢谢。", ""}};
const std::vector<Line> kDialogue = {{"Where is the station?", "车站在哪里？", ""},
                                     {"Go straight on, then turn left.", "一直走，然后左转。", ""},
                                     {"Is it far from here?", "离这里远吗？", ""}};
const std::vector<Line> kTalk = {{"I like tea.", "我喜欢茶。", ""},
                                 {"She likes coffee, with milk.", "她喜欢加奶的咖啡。", ""}};

std::vector<std::string> englishOf(const std::vector<Line>& lines) {
  std::vector<std::string> english;
  for (const Line& l : lines) english.push_back(l.english);
  return english;
}

void expectHoldsItsSentences(const std::vector<ReadRecord>& records,
                             const std::vector<bookmaker::Span>& spans) {
  ASSERT_EQ(records.size(), spans.size());
  for (std::size_t k = 0; k < spans.size(); ++k) {
    SCOPED_TRACE("sentence " + std::to_string(k + 1));
    EXPECT_LE(records[k].start, spans[k].start + 0.001) << "the stretch cuts the first sound";
    EXPECT_GE(records[k].end, spans[k].end - 0.001) << "the stretch cuts the last sound";
    EXPECT_LE(spans[k].start - records[k].start, kTolerance);
    EXPECT_LE(records[k].end - spans[k].end, kTolerance);
    if (k + 1 < spans.size()) {
      EXPECT_LE(records[k].end, spans[k + 1].start) << "holds the next sentence's speech";
    }
    if (k) {
      EXPECT_GE(records[k].start, spans[k - 1].end) << "holds the previous sentence's speech";
    }
  }
}

class MadeBook : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch = fs::temp_directory_path() / ("make_book_test." + std::to_string(getpid()));
    fs::remove_all(scratch);
    lessons = scratch / "Mine";
    fs::create_directories(lessons);
    // 1: a script alone, spoken by the synthesiser; a "#" in its note.
    writeBytes(lessons / "01-script.txt", "Lesson One 第一课\nHello. | 你好。 | a #1 word\n");
    // 2: a transcript (UTF-16 with its mark) beside a FLAC recording.
    lectureSpans =
        writeLessonWav(scratch / "lecture.wav", englishOf(kLecture), {0.5, 0.6, {0.1, 0.5, 0.15}});
    shell("ffmpeg -y -v error -i " + (scratch / "lecture.wav").string() + " " +
          (lessons / "02-lecture.flac").string());
    std::string script = "# a bare transcript\n第二课 Lecture\n";
    for (const Line& l : kLecture) script += l.english + " | " + l.chinese + " | " + l.note + "\n";
    writeBytes(lessons / "02-lecture.txt", "\xFF\xFE" + encoded(script, "UTF-16LE"));
    // 3: LRC in GB18030 beside an m4a; starts 0.1 s early, a 200 ms offset,
    // both bilingual forms, a blank time ending the last sentence.
    Pacing dialoguePacing;
    dialoguePacing.gaps = {0.4};
    dialogueSpans = writeLessonWav(scratch / "dialogue.wav", englishOf(kDialogue), dialoguePacing);
    shell("ffmpeg -y -v error -i " + (scratch / "dialogue.wav").string() + " " +
          (lessons / "03-dialogue.m4a").string());
    std::vector<double> starts;
    for (const auto& s : dialogueSpans) starts.push_back(s.start - 0.1 + 0.2);
    const std::string lrc =
        "[ti:对话 Dialogue]\n[ar:Teacher]\n[offset:+200]\n" + lrcTime(starts[0]) +
        kDialogue[0].english + " / " + kDialogue[0].chinese + "\n" + lrcTime(starts[1]) +
        kDialogue[1].english + "\n" + lrcTime(starts[1]) + kDialogue[1].chinese + "\n" +
        lrcTime(starts[2]) + kDialogue[2].english + " / " + kDialogue[2].chinese + "\n" +
        lrcTime(dialogueSpans[2].end + 0.3 + 0.2);
    writeBytes(lessons / "03-dialogue.lrc", encoded(lrc, "GB18030"));
    // 4: SRT in code page 936 beside a WAV; 5: WebVTT (UTF-8 with its mark) beside an mp3.
    Pacing talkPacing;
    talkPacing.gaps = {0.5};
    talkSpans = writeLessonWav(lessons / "04-talk.wav", englishOf(kTalk), talkPacing);
    std::string srt, vtt = "WEBVTT\n\nNOTE made by the test\n\n";
    for (std::size_t k = 0; k < kTalk.size(); ++k) {
      cues.push_back({talkSpans[k].start - 0.05, talkSpans[k].end + 0.05});
      srt += std::to_string(k + 1) + "\n" + timestamp(cues[k].start, ',') + " --> " +
             timestamp(cues[k].end, ',') + "\n" + kTalk[k].english + "\n" + kTalk[k].chinese +
             "\n\n";
      vtt += "cue" + std::to_string(k) + "\n" + timestamp(cues[k].start, '.') + " --> " +
             timestamp(cues[k].end, '.') + " align:start\n<v Ann>" + kTalk[k].english + "</v> / " +
             kTalk[k].chinese + "\n\n";
    }
    writeBytes(lessons / "04-talk.srt", encoded(srt, "GBK"));
    shell("ffmpeg -y -v error -i " + (lessons / "04-talk.wav").string() +
          " -c:a libmp3lame -abr 1 -b:a 48k " + (lessons / "05-news.mp3").string());
    writeBytes(lessons / "05-news.vtt", "\xEF\xBB\xBF" + vtt);
    program = scratch / "program";
    made = makeBook({lessons.string(), program.string()});
  }
  static void TearDownTestSuite() { fs::remove_all(scratch); }

  static std::vector<ReadRecord> lesson(int number) {
    return readLesson(program / "book" / "Mine" / (std::to_string(number) + ".dat"));
  }

  static inline fs::path scratch, lessons, program;
  static inline std::vector<bookmaker::Span> lectureSpans, dialogueSpans, talkSpans, cues;
  static inline ToolRun made;
};

TEST_F(MadeBook, ReadsBackInThePlayerLayouts) {
  ASSERT_EQ(made.code, 0) << made.err;
  const auto titles = separated(readCp936(program / "SETTING" / "BookList" / "Mine.dat"), '^');
  EXPECT_EQ(titles, (std::vector<std::string>{"Lesson One 第一课", "第二课 Lecture",
                                              "对话 Dialogue", "04 talk", "05 news"}));
  std::vector<std::string> results;
  for (const auto& t : titles) results.push_back(kWhiteStar + t);
  EXPECT_EQ(separated(readCp936(program / "SETTING" / "Results" / "Mine.dat"), '^'), results);
  for (int number = 1; number <= 5; ++number) {
    EXPECT_TRUE(fs::is_regular_file(program / "Sound" / "Mine" / (std::to_string(number) + ".mp3")))
        << number;
    EXPECT_FALSE(lesson(number).empty()) << number;
  }
  const auto lecture = lesson(2);
  ASSERT_EQ(lecture.size(), kLecture.size());
  for (std::size_t k = 0; k < kLecture.size(); ++k) {
    EXPECT_EQ(lecture[k].english, kLecture[k].english);
    EXPECT_EQ(lecture[k].chinese, kLecture[k].chinese);
    std::string note = kLecture[k].note;
    if (const auto hash = note.find('#'); hash != std::string::npos)
      note.replace(hash, 1, "\uff03");
    EXPECT_EQ(lecture[k].note, note);
  }
  EXPECT_EQ(lesson(1)[0].note, "a \uff031 word");
  EXPECT_NE(made.out.find("replaced by"), std::string::npos) << made.out;
  const auto dialogue = lesson(3);
  ASSERT_EQ(dialogue.size(), kDialogue.size());
  for (std::size_t k = 0; k < kDialogue.size(); ++k) {
    EXPECT_EQ(dialogue[k].english, kDialogue[k].english);
    EXPECT_EQ(dialogue[k].chinese, kDialogue[k].chinese);
  }
  const auto news = lesson(5);
  ASSERT_EQ(news.size(), kTalk.size());
  for (std::size_t k = 0; k < kTalk.size(); ++k) {
    EXPECT_EQ(news[k].english, kTalk[k].english);
    EXPECT_EQ(news[k].chinese, kTalk[k].chinese);
  }
  for (const auto& entry : fs::directory_iterator(program))
    EXPECT_FALSE(entry.path().filename().string().starts_with("."))
        << "the work folder was left behind";
}

TEST_F(MadeBook, ThePlayersReadersReadWhatWasWritten) {
  const char* reader = std::getenv("PARLENDA_BOOK_READER");
  if (!reader) GTEST_SKIP() << "needs the player's readers (run through ctest)";
  ASSERT_EQ(made.code, 0) << made.err;
  const fs::path read = scratch / "read.txt";
  const int code = shell("PARLENDA_MADE_BOOK='" + program.string() + "' PARLENDA_MADE_BOOK_READ='" +
                         read.string() + "' QT_QPA_PLATFORM=offscreen '" + reader +
                         "' --gtest_filter=MadeBook.* --gtest_color=no > '" +
                         (scratch / "reader.log").string() + "' 2>&1");
  const std::string log = readBytes(scratch / "reader.log");
  ASSERT_EQ(code, 0) << log;
  EXPECT_EQ(log.find("SKIPPED"), std::string::npos);
  std::vector<std::string> expected{"book\tMine"};
  const auto titles = separated(readCp936(program / "SETTING" / "BookList" / "Mine.dat"), '^');
  for (std::size_t n = 0; n < titles.size(); ++n) {
    expected.push_back("title\t" + titles[n]);
    for (const auto& f : lessonFields(program / "book" / "Mine" / (std::to_string(n + 1) + ".dat")))
      expected.push_back(std::to_string(n + 1) + "\t" + f[0] + "\t" + f[1] + "\t" + f[2] + "\t" +
                         f[3] + "\t" + f[4]);
  }
  std::vector<std::string> lines;
  std::string line;
  for (const char c : readBytes(read)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  EXPECT_EQ(lines, expected);
}

TEST_F(MadeBook, ATranscriptIsAlignedToItsSentences) {
  expectHoldsItsSentences(lesson(2), lectureSpans);
}

TEST_F(MadeBook, LrcEndsAreFoundInTheAudio) {
  const auto records = lesson(3);
  ASSERT_EQ(records.size(), dialogueSpans.size());
  for (std::size_t k = 0; k < records.size(); ++k)
    EXPECT_NEAR(records[k].start, dialogueSpans[k].start - 0.1, 0.011);  // the offset taken off
  expectHoldsItsSentences(records, dialogueSpans);
}

TEST_F(MadeBook, SrtAndVttCuesAreTheStretches) {
  for (const int number : {4, 5}) {
    SCOPED_TRACE("lesson " + std::to_string(number));
    const auto records = lesson(number);
    ASSERT_EQ(records.size(), cues.size());
    for (std::size_t k = 0; k < cues.size(); ++k) {
      EXPECT_NEAR(records[k].start, cues[k].start, 0.0011);
      EXPECT_NEAR(records[k].end, cues[k].end, 0.0011);
    }
  }
  // An mp3 recording is the lesson audio as it is.
  EXPECT_EQ(readBytes(program / "Sound" / "Mine" / "5.mp3"), readBytes(lessons / "05-news.mp3"));
}

TEST_F(MadeBook, AWmaBookGetsWmaAudioOnItsOwnTimeline) {
  const fs::path book = scratch / "Book07";
  fs::create_directories(book);
  fs::copy_file(lessons / "04-talk.wav", book / "04-talk.wav");
  fs::copy_file(lessons / "04-talk.srt", book / "04-talk.srt");
  const ToolRun wma = makeBook({book.string(), program.string()});
  ASSERT_EQ(wma.code, 0) << wma.err;
  const fs::path audio = program / "Sound" / "Book07" / "1.wma";
  const fs::path codec = scratch / "codec.txt";
  shell(
      "ffprobe -v error -show_entries stream=codec_name -of default=nokey=1:noprint_wrappers=1 '" +
      audio.string() + "' > '" + codec.string() + "'");
  EXPECT_EQ(readBytes(codec), "wmav2\n");
  // The wma encoder starts its decoded timeline 1024 samples into the source.
  const double shift = 1024.0 / 22050;
  const auto records = readLesson(program / "book" / "Book07" / "1.dat");
  ASSERT_EQ(records.size(), cues.size());
  for (std::size_t k = 0; k < cues.size(); ++k) {
    EXPECT_NEAR(records[k].start, cues[k].start - shift, 0.002);
    EXPECT_NEAR(records[k].end, cues[k].end - shift, 0.002);
  }
}

}  // namespace
}  // namespace book_test

namespace book_test {
namespace {

// Two SRT files for one recording (ep01.en.srt, ep01.zh.srt) and a
// bilingual ASS (Chinese above, English below), each beside its recording;
// a video (mkv) whose audio is the lesson.
TEST(MadeBookFromSubtitles, TwoTextsAndABilingualAss) {
  const fs::path scratch =
      fs::temp_directory_path() / ("make_book_subtitles." + std::to_string(getpid()));
  fs::remove_all(scratch);
  const fs::path lessons = scratch / "Subtitles";
  Pacing pacing;
  pacing.gaps = {0.5};
  const auto spans = writeLessonWav(lessons / "ep01.wav", englishOf(kTalk), pacing);
  fs::copy_file(lessons / "ep01.wav", lessons / "ep02.wav");
  std::string en, zh,
      ass =
          "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, "
          "Text\n";
  for (std::size_t k = 0; k < spans.size(); ++k) {
    const double a = spans[k].start - 0.05, b = spans[k].end + 0.05;
    en += std::to_string(k + 1) + "\n" + timestamp(a, ',') + " --> " + timestamp(b, ',') + "\n" +
          kTalk[k].english + "\n\n";
    zh += std::to_string(k + 1) + "\n" + timestamp(a + 0.02, ',') + " --> " +
          timestamp(b - 0.02, ',') + "\n" + kTalk[k].chinese + "\n\n";
    const auto assTime = [](double t) {
      char text[32];
      const long cs = std::lround(t * 100);
      std::snprintf(text, sizeof text, "%ld:%02ld:%02ld.%02ld", cs / 360000, cs / 6000 % 60,
                    cs / 100 % 60, cs % 100);
      return std::string(text);
    };
    ass += "Dialogue: 0," + assTime(a) + "," + assTime(b) + ",Default,,0,0,0,,{\\fnSimHei}" +
           kTalk[k].chinese + "\\N{\\fs12}" + kTalk[k].english + "\n";
  }
  en = "1\n00:00:00,000 --> 00:00:00,300\n[Music]\n\n" + en;
  writeBytes(lessons / "ep01.en.srt", en);
  writeBytes(lessons / "ep01.zh.srt", encoded(zh, "GB18030"));
  writeBytes(lessons / "ep02.ass", "\xEF\xBB\xBF" + ass);
  // A video: its audio is the lesson.
  shell("ffmpeg -v error -y -f lavfi -i color=c=black:s=64x48:r=5 -i " +
        (lessons / "ep01.wav").string() + " -shortest -c:v mpeg4 -c:a aac " +
        (lessons / "ep03.mkv").string());
  writeBytes(lessons / "ep03.srt", en);
  const fs::path program = scratch / "program";
  const ToolRun run = makeBook({lessons.string(), program.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find("1 cue with no speech to type left out"), std::string::npos) << run.out;
  EXPECT_EQ(separated(readCp936(program / "SETTING" / "BookList" / "Subtitles.dat"), '^'),
            (std::vector<std::string>{"ep01", "ep02", "ep03"}));
  for (const int number : {1, 2, 3}) {
    SCOPED_TRACE("lesson " + std::to_string(number));
    const auto records =
        readLesson(program / "book" / "Subtitles" / (std::to_string(number) + ".dat"));
    ASSERT_EQ(records.size(), kTalk.size());
    for (std::size_t k = 0; k < kTalk.size(); ++k) {
      EXPECT_EQ(records[k].english, kTalk[k].english);
      EXPECT_EQ(records[k].chinese, number == 3 ? "" : kTalk[k].chinese);
      const double tolerance = number == 2 ? 0.0051 : 0.0011;  // ASS times are centiseconds
      EXPECT_NEAR(records[k].start, spans[k].start - 0.05, tolerance);
      EXPECT_NEAR(records[k].end, spans[k].end + 0.05, tolerance);
    }
  }
  fs::remove_all(scratch);
}

}  // namespace
}  // namespace book_test

namespace book_test {
namespace {

// espeak-ng speech muxed by ffmpeg into mkv (SubRip) and mp4 (mov_text),
// each with an English and a Chinese text track tagged by language.
TEST(MadeBookFromSubtitles, TheTextTracksOfAVideo) {
  const fs::path scratch =
      fs::temp_directory_path() / ("make_book_tracks." + std::to_string(getpid()));
  fs::remove_all(scratch);
  Pacing pacing;
  pacing.gaps = {0.5};
  const auto spans = writeLessonWav(scratch / "talk.wav", englishOf(kTalk), pacing);
  std::string en, zh;
  for (std::size_t k = 0; k < spans.size(); ++k) {
    const double a = spans[k].start - 0.05, b = spans[k].end + 0.05;
    en += std::to_string(k + 1) + "\n" + timestamp(a, ',') + " --> " + timestamp(b, ',') + "\n" +
          kTalk[k].english + "\n\n";
    zh += std::to_string(k + 1) + "\n" + timestamp(a, ',') + " --> " + timestamp(b, ',') + "\n" +
          kTalk[k].chinese + "\n\n";
  }
  writeBytes(scratch / "en.srt", en);
  writeBytes(scratch / "zh.srt", zh);
  const fs::path lessons = scratch / "Tracks";
  fs::create_directories(lessons);
  const std::string inputs =
      " -i " + (scratch / "talk.wav").string() + " -i " + (scratch / "en.srt").string() + " -i " +
      (scratch / "zh.srt").string() +
      " -map 0 -map 1 -map 2 -metadata:s:s:0 language=eng -metadata:s:s:1 language=chi ";
  ASSERT_EQ(
      shell("ffmpeg -v error -y" + inputs + "-c:a flac -c:s srt " + (lessons / "ep1.mkv").string()),
      0);
  ASSERT_EQ(shell("ffmpeg -v error -y" + inputs + "-c:a aac -c:s mov_text " +
                  (lessons / "ep2.mp4").string()),
            0);
  const ToolRun run = makeBook({lessons.string(), (scratch / "program").string()});
  ASSERT_EQ(run.code, 0) << run.err;
  for (const int number : {1, 2}) {
    SCOPED_TRACE("lesson " + std::to_string(number));
    const auto records =
        readLesson(scratch / "program" / "book" / "Tracks" / (std::to_string(number) + ".dat"));
    ASSERT_EQ(records.size(), kTalk.size());
    for (std::size_t k = 0; k < kTalk.size(); ++k) {
      EXPECT_EQ(records[k].english, kTalk[k].english);
      EXPECT_EQ(records[k].chinese, kTalk[k].chinese);
      EXPECT_NEAR(records[k].start, spans[k].start - 0.05, 0.0011);
      EXPECT_NEAR(records[k].end, spans[k].end + 0.05, 0.0011);
    }
  }
  fs::remove_all(scratch);
}

}  // namespace
}  // namespace book_test

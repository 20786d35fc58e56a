// The take beside the model on the read-along page: after "录音" and "停止"
// the white display shows both voices' traces under the sentence, the
// figures and the word departing most, or what went wrong in words; the mark
// follows the loop comparison; another sentence clears it all. The lesson
// and the takes are speech made by espeak-ng at test time.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <chrono>
#include <cmath>

#include "speech_fixtures.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

using analysis_test::Voice;

platform::SoundSamples samplesOf(const analysis::Sound& s) { return {s.samples, s.rate}; }

// The default course's first lesson: "Hello, Tom." at 0.5-1.5 s, "How are
// you?" at 2.0-3.0 s, "I'm fine, thanks." at 3.5-4.5 s.
analysis::Sound lessonSpeech() {
  const int rate = 22050;
  analysis::Sound lesson = analysis_test::silence(5.0, rate);
  const std::pair<const char*, double> sentences[] = {
      {"Hello, Tom.", 0.55}, {"How are you?", 2.05}, {"I'm fine, thanks.", 3.55}};
  for (auto [text, at] : sentences) {
    const analysis::Sound s = analysis_test::speak(text, {"en", 50, 200});
    const size_t from = size_t(at * rate);
    for (size_t i = 0; i < s.samples.size() && from + i < lesson.samples.size(); ++i)
      lesson.samples[from + i] = s.samples[i];
  }
  return lesson;
}

int near(QColor a, ui::Color b) {
  return std::abs(a.red() - b.r) + std::abs(a.green() - b.g) + std::abs(a.blue() - b.b) < 60;
}

struct TakeTraces : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  const ui::Color model = ui::rgb(16, 48, 112), take = ui::rgb(214, 98, 18);

  void SetUp() override {
    h.writeDefaultCourse();
    f = &h.start();
    h.player->lesson = samplesOf(lessonSpeech());
    ASSERT_FALSE(h.player->lesson.samples.empty()) << "espeak-ng is needed";
    learner::click(f->Label14(5));
    ASSERT_EQ(f->studymode, 5);
  }
  void waitForAnalysis() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (f->analysing() && std::chrono::steady_clock::now() < until) ui::processEvents(5);
    ASSERT_FALSE(f->analysing());
  }
  // Records `sound` as the take, through the buttons.
  void recordTake(const analysis::Sound& sound) {
    learner::click(f->Command8);
    h.wave->recorded = samplesOf(sound);
    learner::click(f->Command10);
    waitForAnalysis();
  }
  // Pixels of colour `c` drawn in the traces' place, in the window as shown.
  int pixelsOf(ui::Color c, int column = -1) {
    const QImage shot = f->widget()->grab().toImage();
    const QPoint corner = learner::at(f->TraceView1, 0, 0);
    const int w = ui::pixels(f->TraceView1.width()), hgt = ui::pixels(f->TraceView1.height());
    int n = 0;
    for (int y = 0; y < hgt; ++y)
      for (int x = 0; x < w; ++x)
        if ((column < 0 || std::abs(x - column) <= 1) &&
            near(shot.pixelColor(corner + QPoint(x, y)), c))
          ++n;
    return n;
  }
};

TEST_F(TakeTraces, ATakeIsShownUnderTheSentenceAndAnotherSentenceClearsIt) {
  recordTake(analysis_test::delayed(analysis_test::speak("Hello, Tom.", {"en+f3", 70, 150}), 0.4));
  ASSERT_TRUE(f->TraceView1.hasTraces()) << f->Label54.caption();
  EXPECT_EQ(f->Label54.caption().rfind("语调 ", 0), 0u) << f->Label54.caption();
  EXPECT_NE(f->Label54.caption().find("节奏 "), std::string::npos);
  EXPECT_NE(f->Label54.caption().find("时长 "), std::string::npos);
  EXPECT_EQ(f->Label55.caption().rfind("差别最大：", 0), 0u) << f->Label55.caption();
  // Both voices are drawn, the words stand under them, the sentence above.
  EXPECT_GT(pixelsOf(model), 150);
  EXPECT_GT(pixelsOf(take), 150);
  const ui::Traces& t = f->TraceView1.traces();
  ASSERT_EQ(t.words.size(), 2u);
  for (int i = 0; i < 2; ++i) EXPECT_GT(f->TraceView1.wordPlace(i).width, 0) << i;
  EXPECT_LT(f->TraceView1.wordPlace(0).left, f->TraceView1.wordPlace(1).left);
  EXPECT_LE(f->Label11.top() + f->Label11.textHeight(), f->TraceView1.top());
  EXPECT_EQ(learner::unseenTexts(*f), std::vector<std::string>{});

  learner::click(f->Command14);  // 下一句
  EXPECT_FALSE(f->TraceView1.hasTraces());
  EXPECT_EQ(f->Label54.caption(), "");
  EXPECT_EQ(f->Label55.caption(), "");
  EXPECT_EQ(pixelsOf(take), 0);
}

TEST_F(TakeTraces, FailuresAreToldInWords) {
  const struct {
    const char* what;
    analysis::Sound take;
    const char* told;
  } cases[] = {
      {"silent take", analysis_test::silence(2.0, 44100), "没有录到声音"},
      {"no take", {}, "没有录音：请检查麦克风，再点“录音”"},
      {"a take far longer than the sentence",
       analysis_test::speak("Hello, Tom. How are you? I'm fine, thanks. And you? I am very well "
                            "too, thank you for asking me.",
                            {"en", 50, 120}),
       "录音比句子长得多：请只跟读这一句"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    recordTake(c.take);
    EXPECT_FALSE(f->TraceView1.hasTraces());
    EXPECT_EQ(f->Label54.caption(), c.told);
    EXPECT_EQ(f->Label55.caption(), "");
    EXPECT_EQ(learner::unseenTexts(*f), std::vector<std::string>{});
  }
}

TEST_F(TakeTraces, TheMarkFollowsTheLoop) {
  const analysis::Sound said = analysis_test::speak("Hello, Tom.", {"en", 50, 140});
  recordTake(analysis_test::delayed(said, 0.3));
  ASSERT_TRUE(f->TraceView1.hasTraces());
  learner::click(f->Command9);  // 循环对比
  ASSERT_TRUE(f->Timer4.enabled());
  const ui::Traces& t = f->TraceView1.traces();
  const double start = std::stod(f->playstart);
  double last = -1;
  // The sentence plays: the mark is at the player's place in it.
  for (double at : {0.25, 0.5, 0.75}) {
    const double inModel = t.start + at * (t.modelPitch.size() - 1) * t.step;
    h.player->position = start + inModel;
    ASSERT_TRUE(f->Timer4.fire());
    EXPECT_NEAR(f->TraceView1.mark(), inModel, 1e-6);
    EXPECT_FALSE(std::isnan(f->TraceView1.mark()));
    EXPECT_GT(pixelsOf(model, ui::pixels(f->TraceView1.xOf(inModel))),
              ui::pixels(f->TraceView1.height()) / 2)
        << "a mark across the traces at " << at;
    last = f->TraceView1.mark();
  }
  // Then the take plays: the mark starts again from the left and moves on,
  // through the take's own time.
  h.player->position = std::stod(f->playend);
  double previous = -1;
  for (double at : {0.35, 0.6, 0.9, 1.1}) {
    h.wave->takePosition = at;
    ASSERT_TRUE(f->Timer4.fire());
    const double m = f->TraceView1.mark();
    ASSERT_FALSE(std::isnan(m)) << at;
    EXPECT_GT(m, previous) << at;
    previous = m;
  }
  EXPECT_LT(previous, last + 0.5);
  EXPECT_GT(pixelsOf(take, ui::pixels(f->TraceView1.xOf(previous))),
            ui::pixels(f->TraceView1.height()) / 2);
  // Stop: the loop ends and the mark goes.
  learner::click(f->Command10);
  EXPECT_FALSE(f->Timer4.enabled());
  EXPECT_TRUE(std::isnan(f->TraceView1.mark()));
  EXPECT_TRUE(f->TraceView1.hasTraces()) << "the take stays";
}

// Under a sentence that wraps to three lines, or a translation of four, the
// traces keep a useful height and every text stays whole: the sentence's,
// the legend's, the words' and the figures'.
TEST(TakeTracesUnderLongSentences, EveryTextIsSeen) {
  const std::string& longEnglish = kLongEnglish;
  const std::string& longChinese = kLongChinese;
  const struct {
    std::string english, chinese;
    double start, end;
  } sentences[] = {{longEnglish, "短。", 0.5, 12.5},
                   {"Take care.", longChinese + longChinese, 13, 15}};
  FormHarness h;
  std::vector<std::vector<std::string>> records;
  analysis::Sound lesson = analysis_test::silence(16, 22050);
  for (const auto& s : sentences) {
    records.push_back({s.english, s.chinese, std::to_string(s.start), std::to_string(s.end), ""});
    const analysis::Sound said = analysis_test::speak(s.english, {"en", 50, 190});
    std::copy(said.samples.begin(), said.samples.end(),
              lesson.samples.begin() + long(s.start * 22050 + 1000));
  }
  h.folder.writeBook("Book01", {"长句"}, {lessonText(records)});
  h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\1\\0\\1\\0\\1\\1\\Book01\\60\\");
  h.folder.writeBytes("\\Recorder.wav", "RIFF");
  Form1& f = h.start();
  h.player->lesson = samplesOf(lesson);
  learner::click(f.Label14(5));
  for (const auto& s : sentences) {
    SCOPED_TRACE(s.english);
    ASSERT_EQ(f.Label10.caption(), s.english);
    learner::click(f.Command8);
    h.wave->recorded = samplesOf(analysis_test::speak(s.english, {"en+f3", 70, 160}));
    learner::click(f.Command10);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (f.analysing() && std::chrono::steady_clock::now() < until) ui::processEvents(5);
    ASSERT_TRUE(f.TraceView1.hasTraces()) << f.Label54.caption();
    EXPECT_GE(f.TraceView1.height(), 1200);
    EXPECT_LE(f.Label11.top() + f.Label11.textHeight(), f.TraceView1.top());
    EXPECT_EQ(learner::unseenTexts(f), std::vector<std::string>{});
    learner::click(f.Command14);
  }
}

// A result that arrives after the learner has moved on is not shown.
TEST_F(TakeTraces, AnAnalysisOverTakenByAnotherSentenceIsDropped) {
  learner::click(f->Command8);
  h.wave->recorded = samplesOf(analysis_test::speak("Hello, Tom.", {"en", 50, 160}));
  learner::click(f->Command10);
  learner::click(f->Command14);
  waitForAnalysis();
  EXPECT_FALSE(f->TraceView1.hasTraces());
  EXPECT_EQ(f->Label54.caption(), "");
}

}  // namespace

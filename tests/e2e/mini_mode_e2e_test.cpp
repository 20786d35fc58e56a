// The mini mode's strip on the real engine (SDL's disk driver): each of its
// buttons and the sentence page's keys, pressed on the strip, are heard as
// the window's own player plays them: the stretch of the sentence the window
// makes current, at the speed and as often as the strip set.
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "../audio/audio_test_support.h"
#include "mini/mini_strip.h"
#include "platform/audio/audio_engine.h"
#include "real_engine_window.h"
#include "support/learner.h"
#include "window/form1.h"

namespace {

using namespace audio_test;
namespace fs = std::filesystem;

// Seconds from the first to the last sounding sample written since the
// output was last read (`before`). The device reopens after 2.5 s of silence
// (a stalled machine) and the file then starts again: what was read before
// is no longer its beginning.
double heardSince(const std::string& file, Samples& before) {
  const Samples s = readRaw(file);
  size_t from = before.size();
  if (s.size() < from || !std::equal(before.begin(), before.end(), s.begin())) from = 0;
  size_t first = s.size(), last = from;
  for (size_t i = from; i < s.size(); ++i)
    if (s[i] != 0) first = std::min(first, i), last = i + 1;
  before = s;
  return last > first ? double(last - first) / kRate : 0;
}

class StripOnTheRealEngine : public RealEngineWindow {
 protected:
  Samples output;  // as last read

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(startWindow());
    waitForIdle();
    heard();  // the start-up sentence
    learner::click(form->Label38);
    ASSERT_TRUE(form->miniMode().on());
  }
  void TearDown() override {
    form.reset();
    engine.reset();
    ui::setMessageBoxResponder(nullptr);
  }
  mini::MiniStrip& strip() { return form->miniMode().strip(); }
  void waitForIdle() {
    ASSERT_TRUE(waitFor([&] { return !form->Timer1.enabled() && !form->Timer2.enabled(); }, 30));
    waitFor([] { return false; }, 0.3);  // let the device write out what it held
  }
  double heard() { return heardSince(diskOutput(dir), output); }
  // The current sentence's stretch as heard at the player's rate.
  double stretchSeconds() const {
    return (std::stod(form->playend) - std::stod(form->playstart)) /
           form->WindowsMediaPlayer1.rate();
  }
};

TEST_F(StripOnTheRealEngine, EachButtonAndKeyIsHeardAsTheWindowPlaysIt) {
  struct Step {
    const char* what;
    std::function<void(mini::MiniStrip&)> act;
    int sentence;  // the window's current sentence after it
  };
  const auto key = [](Qt::Key k) { return [k](mini::MiniStrip& s) { learner::key(s, k); }; };
  const Step steps[] = {
      {"下一句", [](mini::MiniStrip& s) { learner::click(s.nextButton()); }, 2},
      {"重播", [](mini::MiniStrip& s) { learner::click(s.replayButton()); }, 2},
      {"上一句", [](mini::MiniStrip& s) { learner::click(s.previousButton()); }, 1},
      {"PageDown", key(Qt::Key_PageDown), 2},
      {"PageDown", key(Qt::Key_PageDown), 3},
      {"PageUp", key(Qt::Key_PageUp), 2},
      {"F7", key(Qt::Key_F7), 2},
      {"F1", key(Qt::Key_F1), 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(strip());
    waitForIdle();
    EXPECT_EQ(form->lessonView().currentNumber(), step.sentence);
    const double seconds = heard(), stretch = stretchSeconds();
    EXPECT_GT(seconds, 0.8 * stretch) << "the sentence is heard";
    EXPECT_LT(seconds, stretch + 0.05) << "and nothing past its end";
  }
}

TEST_F(StripOnTheRealEngine, TheSpeedAndTheRepeatCountAreHeard) {
  learner::click(strip().replayButton());
  waitForIdle();
  const double normal = heard();
  ASSERT_GT(normal, 0.3);

  learner::click(strip().speedButton(0));  // slow
  waitForIdle();
  heard();  // whatever the change of speed itself played
  learner::click(strip().replayButton());
  waitForIdle();
  EXPECT_NEAR(heard() / normal, 2.0, 0.08);

  learner::click(strip().speedButton(1));
  learner::click(strip().repeatBox());  // its list: one down from 1 is 2
  learner::keyToMenu(Qt::Key_Down);
  learner::keyToMenu(Qt::Key_Return);
  ASSERT_EQ(form->Combo2.text(), "2");
  waitForIdle();
  heard();
  learner::click(strip().replayButton());
  waitForIdle();
  EXPECT_GT(heard(), 1.9 * normal) << "two plays";
}

TEST_F(StripOnTheRealEngine, EscapeStopsTheSentenceHeard) {
  learner::key(strip(), Qt::Key_F7);
  const double stretch = stretchSeconds();
  // Wait until it sounds, then stop it.
  ASSERT_TRUE(waitFor([&] { return fs::exists(diskOutput(dir)) && heard() > 0; }, 10));
  learner::key(strip(), Qt::Key_Escape);
  EXPECT_FALSE(form->Timer1.enabled());
  waitFor([] { return false; }, 0.5);
  heard();
  waitFor([] { return false; }, 0.5);
  EXPECT_EQ(heard(), 0) << "nothing more is heard";
  EXPECT_GT(stretch, 0.5);
}

}  // namespace

// A sentence of the demo course played by the real window on the real engine
// (SDL's disk driver): exactly its stretch reaches the output, at 0.5 twice as
// long, and nothing after its end.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "../audio/audio_test_support.h"
#include "platform/audio/audio_engine.h"
#include "platform/audio/background_audio.h"
#include "real_engine_window.h"
#include "window/form1.h"

namespace {

using namespace audio_test;
namespace fs = std::filesystem;

struct Output {
  size_t first = 0, last = 0;  // the non-zero samples after `from`, [first, last)
};
Output soundAfter(const Samples& s, size_t from) {
  Output o{s.size(), from};
  for (size_t i = from; i < s.size(); ++i)
    if (s[i] != 0) o.first = std::min(o.first, i), o.last = i + 1;
  return o;
}

class SentenceOnTheRealEngine : public RealEngineWindow {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(startWindow());
    form->Combo2.choose(0);  // repeat 0: steps are silent, Play plays once
    waitForIdle();
  }
  void TearDown() override {
    form.reset();
    engine.reset();
    ui::setMessageBoxResponder(nullptr);
  }
  // The end watcher has paused the player and the interval has run.
  void waitForIdle() {
    ASSERT_TRUE(waitFor([&] { return !form->Timer1.enabled() && !form->Timer2.enabled(); }, 20));
    waitFor([] { return false; }, 0.3);  // let the device write out what it held
  }
  // Plays sentence `k` at `speed` (Label20 index) and returns what the
  // output received for it.
  Output play(int k, int speed, Samples& out) {
    form->Label20(speed).click();
    form->Command3_Click();
    for (int i = 1; i < k; ++i) form->Command1_Click();
    size_t before = readRaw(diskOutput(dir)).size();
    form->Command4_Click();
    waitForIdle();
    out = readRaw(diskOutput(dir));
    return soundAfter(out, before);
  }
};

TEST_F(SentenceOnTheRealEngine, OnlyTheStretchIsHeardAtNormalAndSlowSpeed) {
  const int k = 3;
  Samples out;
  Output normal = play(k, 1, out);
  const double start = std::stod(form->playstart), end = std::stod(form->playend);
  // The lesson decoded by the ffmpeg command, on the same timeline. The two
  // resamplers differ by a sample value or two; after the seek the player's
  // decoder settles within its first 30 ms (a 22.05 kHz lesson), so samples
  // are compared from there on.
  Samples decoded = decodeWithCommand(folder + "/Sound/Book01/1.mp3");
  const long s0 = std::lround(start * kRate), e0 = std::lround(end * kRate);
  const long heard = long(normal.last - normal.first);
  const long settle = kRate * 30 / 1000;
  ASSERT_GT(heard, kRate / 2);
  auto matchesAt = [&](long at) {
    for (long i = settle; i < heard; ++i)
      if (std::abs(out[normal.first + i] - decoded[at + i]) > 2) return false;
    return true;
  };
  long at = -1;
  for (long d = s0; d < e0 && at < 0; ++d)
    if (matchesAt(d)) at = d;
  ASSERT_GE(at, s0) << "the sound heard is not the stretch's";
  EXPECT_LE(at + heard, e0 + 1) << "sound from after the end";
  // Everything of the stretch that is not silence was heard.
  long lastSound = e0;
  while (lastSound > s0 && std::abs(decoded[lastSound - 1]) <= 2) --lastSound;
  EXPECT_GE(at + heard, lastSound);
  EXPECT_EQ(soundAfter(out, normal.last).last, normal.last) << "sound after the end";

  Output slow = play(k, 0, out);
  const double ratio = double(slow.last - slow.first) / double(normal.last - normal.first);
  EXPECT_NEAR(ratio, 2.0, 0.04);
  EXPECT_EQ(soundAfter(out, slow.last).last, slow.last);
}

// The program's own way: the engine comes from the module once the window is
// up, and the start-up sentence, asked for before, is then heard whole.
TEST(StartUpSentence, IsHeardWhenTheEngineArrivesAfterTheWindow) {
  TempDir dir;
  const std::string folder = dir.file("program");
  fs::copy(PARLENDA_SOURCE_DIR "/data", folder, fs::copy_options::recursive);
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  useDiskAudio(dir);
  platform::BackgroundAudio audio(
      platform::BackgroundAudio::fromModule(PARLENDA_PROGRAM_DIR "/libparlenda_audio.so"));
  auto form = std::make_unique<Form1>(
      folder,
      Devices{audio.createMediaPlayer(), audio.createWaveDevice(), audio.createSounds(), false});
  form->Unload = nullptr;
  ASSERT_TRUE(form->Timer1.enabled()) << "the start-up sentence is playing";
  EXPECT_FALSE(fs::exists(diskOutput(dir))) << "nothing is heard before the engine";
  audio.open();
  ASSERT_TRUE(waitFor([&] { return audio.ready(); }, 20));
  ASSERT_TRUE(audio.outputAvailable());
  ASSERT_TRUE(waitFor([&] { return !form->Timer1.enabled(); }, 20));
  waitFor([] { return false; }, 0.3);  // let the device write out what it held

  const Samples out = readRaw(diskOutput(dir));
  const Output heard = soundAfter(out, 0);
  const double seconds = double(heard.last - heard.first) / kRate;
  const double stretch =
      (std::stod(form->playend) - std::stod(form->playstart)) / form->WindowsMediaPlayer1.rate();
  EXPECT_GT(seconds, 0.8 * stretch);
  EXPECT_LT(seconds, stretch + 0.05);
  form.reset();
  ui::setMessageBoxResponder(nullptr);
}

}  // namespace

// Slow and fast play: the stretch lasts twice or half as long, its pitch is
// kept, and the end guard still stops it at its end.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio_test_support.h"

using namespace audio_test;

namespace {

TEST(Rate, StretchDurationScalesAndPitchIsKept) {
  TempDir dir;
  const std::string wav = dir.file("tone.wav");
  writeWav(wav, sine(3.0, 220, 8000));
  const double rates[] = {1.0, 0.5, 2.0};
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, wav);
    for (double rate : rates) {
      player->setRate(rate);
      ASSERT_TRUE(playStretch(*player, 1.0, 2.0)) << rate;
      EXPECT_EQ(player->currentPosition(), 2.0) << rate;
      std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 3u);
  const double normalHz = fundamentalHz(out, runs[0]);
  EXPECT_NEAR(normalHz, 220, 1);
  for (size_t i = 0; i < 3; ++i) {
    const double expected = kRate / rates[i];
    EXPECT_NEAR(double(runs[i].size()), expected, expected * 0.01) << rates[i];
    // The sound ends within a millisecond of the stretched end: nothing past
    // it, and the stretcher's tail is not cut.
    EXPECT_NEAR(double(runs[i].size()), expected, 0.001 * kRate) << rates[i];
    EXPECT_NEAR(fundamentalHz(out, runs[i]), normalHz, normalHz * 0.02) << rates[i];
  }
}

TEST(Rate, ChangeWhilePlayingTakesEffectAtOnceAndKeepsThePosition) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  const Samples source = noise(4.0, 11);
  writeWav(wav, source);
  useDiskAudio(dir);
  double before = 0;  // where the rate changed
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, wav);
    player->setEndGuard(3.0);
    player->setCurrentPosition(0.5);
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() >= 1.0; }, 2));
    before = player->currentPosition();
    player->setRate(2.0);
    EXPECT_NEAR(player->currentPosition(), before, 0.02);
    // From here 2.0 s of media take 1.0 s of sound (counted in what was
    // played below, not in wall-clock time, which a busy machine stretches).
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() >= 3.0; }, 6));
    EXPECT_EQ(player->currentPosition(), 3.0);
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 1u);
  // From 0.5 s to the change at 1.0, the rest to 3.0 s at 2.0: about 1.5 s in
  // all when the change came at 1.0 s, instead of 2.5 s.
  EXPECT_NEAR(double(runs[0].size()) / kRate, (before - 0.5) + (3.0 - before) / 2.0, 0.1);
  // The part played at 1.0 passed untouched.
  const size_t untouched = kRate / 4;
  EXPECT_TRUE(Samples(out.begin() + runs[0].begin, out.begin() + runs[0].begin + untouched) ==
              Samples(source.begin() + kRate / 2, source.begin() + kRate / 2 + untouched));
}

}  // namespace

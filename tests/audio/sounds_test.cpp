// Effect sounds: played without waiting, a new one cuts off the last, a
// missing or broken file plays nothing.
#include <gtest/gtest.h>

#include <fstream>

#include "audio_test_support.h"

using namespace audio_test;

namespace {

TEST(Sounds, ANewSoundCutsOffTheOneStillPlaying) {
  TempDir dir;
  const Samples longSound = sine(1.0, 440, 6000);
  const Samples shortSound = sine(0.2, 880, 3000);
  writeWav(dir.file("long.wav"), longSound);
  writeWav(dir.file("short.wav"), shortSound);
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto sounds = engine.createSounds();
    sounds->play(dir.file("long.wav"));  // returns at once
    waitFor([] { return false; }, 0.3);
    sounds->play(dir.file("short.wav"));
    waitFor([] { return false; }, 0.5);
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 1u);
  const SoundRun r = runs[0];
  ASSERT_GT(r.size(), shortSound.size());
  EXPECT_LT(r.size(), longSound.size());
  // Both sines start with a zero sample, so each starts one before its run.
  EXPECT_TRUE(Samples(out.begin() + r.begin - 1, out.begin() + r.begin + 2000) ==
              Samples(longSound.begin(), longSound.begin() + 2001));
  // The short sound whole at the end, with nothing of the long one under it.
  const size_t tail = r.end - shortSound.size();
  EXPECT_EQ(out[tail + shortSound.size() - 1], shortSound.back());
  EXPECT_TRUE(Samples(out.begin() + tail, out.begin() + r.end) == shortSound);
}

TEST(Sounds, MissingOrBrokenFilesPlayNothing) {
  TempDir dir;
  std::ofstream(dir.file("broken.wav")) << "RIFF but not really";
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto sounds = engine.createSounds();
    sounds->play(dir.file("missing.wav"));
    sounds->play(dir.file("broken.wav"));
    waitFor([] { return false; }, 0.2);
  }
  for (int16_t v : readRaw(diskOutput(dir))) ASSERT_EQ(v, 0);
}

}  // namespace

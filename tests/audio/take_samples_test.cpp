// What the engine hands to the take analysis: the recorder's take as it was
// captured, where its play is, and the lesson's stretch read on another
// thread exactly as the full decode has it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio_test_support.h"
#include "platform/audio/audio_engine.h"

using namespace audio_test;

namespace {

TEST(TakeSamples, TheTakeIsWhatWasCapturedAndItsPlayPositionMovesWhileItPlays) {
  TempDir dir;
  const Samples input = noise(3.0, 33);
  writeRaw(dir.file("input.raw"), input);
  useDiskAudio(dir, dir.file("input.raw"));
  const std::string recorderFile = dir.file("Recorder.wav");
  writeWav(recorderFile, Samples(100, 0));
  platform::AudioEngine engine;
  ASSERT_TRUE(engine.inputAvailable());
  auto device = engine.createWaveDevice();
  EXPECT_TRUE(device->take().samples.empty()) << "nothing recorded yet";
  device->setFileName(recorderFile);
  device->setCommand("open");
  const auto started = std::chrono::steady_clock::now();
  device->setCommand("record");
  waitFor([] { return false; }, 0.4);
  EXPECT_TRUE(device->take().samples.empty()) << "still recording";
  device->setCommand("stop");
  const double held =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  // The take is what the device captured while the recording lasted: no more
  // than that time (and one device buffer) holds, and on a busy machine the
  // capture may lag behind it.
  const platform::SoundSamples take = device->take();
  EXPECT_EQ(take.rate, kRate);
  ASSERT_GT(take.samples.size(), 0u);
  EXPECT_LE(double(take.samples.size()) / kRate, held + 4096.0 / kRate);
  EXPECT_TRUE(take.samples == Samples(input.begin(), input.begin() + take.samples.size()));
  const double takeSeconds = double(take.samples.size()) / kRate;

  EXPECT_LT(device->playPosition(), 0);
  bool done = false;
  device->Done = [&] { done = true; };
  device->setFrom(0);
  device->setCommand("play");
  std::vector<double> seen;
  waitFor(
      [&] {
        const double p = device->playPosition();
        if (p >= 0) seen.push_back(p);
        return done;
      },
      3);
  ASSERT_TRUE(done);
  ASSERT_GT(seen.size(), 1u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_LT(seen.front(), 0.25 * takeSeconds + 0.05);
  EXPECT_GT(seen.back(), 0.5 * takeSeconds);
  EXPECT_LT(device->playPosition(), 0) << "the play has finished";
}

TEST(TakeSamples, TheStretchReaderGivesTheFullDecodeOfTheStretchOnAnyThread) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(4.0, 9));
  useDiskAudio(dir);
  platform::AudioEngine engine;
  for (const char* format : {"wav", "mp3"}) {
    SCOPED_TRACE(format);
    const std::string file = std::string(format) == "wav" ? wav : encode(wav, format);
    ASSERT_FALSE(file.empty());
    const Samples reference = decodeWithCommand(file);
    auto player = openLesson(engine, file);
    player->play();  // the player plays on while the stretch is read
    const struct { double from, to; } stretches[] = {{0.0, 0.5}, {1.25, 2.75}, {3.5, 9.0}};
    for (auto s : stretches) {
      platform::SoundSamples got;
      std::thread([&, reader = player->stretchReader(s.from, s.to)] { got = reader(); }).join();
      const size_t first = size_t(std::llround(s.from * kRate));
      const size_t end = std::min(reference.size(), size_t(std::ceil(s.to * kRate - 1e-6)));
      EXPECT_EQ(got.rate, kRate);
      EXPECT_TRUE(got.samples == Samples(reference.begin() + first, reference.begin() + end))
          << s.from << "-" << s.to << ": " << got.samples.size() << " samples";
    }
    player->pause();
  }
  auto unopened = engine.createMediaPlayer();
  EXPECT_TRUE(unopened->stretchReader(0, 1)().samples.empty());
}

}  // namespace

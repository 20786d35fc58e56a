// The lesson player on the real engine: what reaches SDL's disk output.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "audio_test_support.h"
#include "platform/audio/audio_engine.h"

using namespace audio_test;

namespace {

struct Stretch {
  double start;
  double end;
};

int64_t firstFrame(double t) { return std::llround(t * kRate); }
int64_t endFrame(double t) { return static_cast<int64_t>(std::ceil(t * kRate - 1e-6)); }

void pauseBetweenPlays() { std::this_thread::sleep_for(std::chrono::milliseconds(120)); }

// The lesson file in `format`, made from `wav`, and its full decode on the
// lesson timeline.
std::string lessonFile(const std::string& wav, const std::string& format, Samples* reference) {
  const std::string file = format == "wav" ? wav : encode(wav, format);
  if (file.empty()) return file;
  *reference = decodeWithCommand(file);
  // The ffmpeg command drops the first WMA frame, which carries the start of
  // the source: the lesson timeline keeps it.
  if (format == "wma") reference->insert(reference->begin(), 2048, 0);
  return file;
}

struct SeekCase {
  const char* format;
  int volume;
};

class ExactSeek : public testing::TestWithParam<SeekCase> {};

TEST_P(ExactSeek, EachStretchIsTheFullDecodeFromSeekToGuard) {
  const SeekCase param = GetParam();
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(4.0, 7));
  Samples reference;
  const std::string file = lessonFile(wav, param.format, &reference);
  ASSERT_FALSE(file.empty());
  ASSERT_GT(reference.size(), size_t{3 * kRate});
  const std::vector<Stretch> stretches = {{0.0, 0.3}, {2.5, 2.8}, {1.0000227, 1.2}, {3.61, 3.9}};

  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    ASSERT_TRUE(engine.outputAvailable());
    auto player = openLesson(engine, file);
    player->setVolume(param.volume);
    player->setCurrentPosition(1.2345);
    EXPECT_EQ(player->currentPosition(), 1.2345);
    for (const Stretch& s : stretches) {
      ASSERT_TRUE(playStretch(*player, s.start, s.end)) << s.start;
      EXPECT_EQ(player->currentPosition(), s.end);
      pauseBetweenPlays();
    }
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), stretches.size());
  for (size_t i = 0; i < stretches.size(); ++i) {
    Samples expected(reference.begin() + firstFrame(stretches[i].start),
                     reference.begin() + endFrame(stretches[i].end));
    for (int16_t& v : expected) v = static_cast<int16_t>(std::lrint(v * (param.volume / 100.0f)));
    const size_t lead =
        std::find_if(expected.begin(), expected.end(), [](int16_t v) { return v != 0; }) -
        expected.begin();
    ASSERT_GE(runs[i].begin, lead);
    const size_t at = runs[i].begin - lead;
    ASSERT_LE(at + expected.size(), out.size());
    const Samples heard(out.begin() + at, out.begin() + at + expected.size());
    EXPECT_TRUE(heard == expected) << "stretch " << i << " differs from the full decode";
    EXPECT_LE(runs[i].end, at + expected.size()) << "sound past the guard in stretch " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, ExactSeek,
                         testing::Values(SeekCase{"mp3", 100}, SeekCase{"wma", 100},
                                         SeekCase{"wav", 50}),
                         [](const auto& test) {
                           return std::string(test.param.format) + "_volume" +
                                  std::to_string(test.param.volume);
                         });

class EncoderDelay : public testing::TestWithParam<const char*> {};

// A click at 2.350 s of the source WAV is heard at 2.350 s of media time.
TEST_P(EncoderDelay, ClickIsHeardAtItsSourceTime) {
  TempDir dir;
  const std::string wav = dir.file("click.wav");
  // A quiet noise bed keeps every sample of the stretch non-zero, so the run
  // found in the output starts where the stretch starts.
  Samples source = noise(3.0, 3);
  for (int16_t& v : source) v = static_cast<int16_t>(v / 40);
  const size_t click = 103635;  // 2.350 s
  for (size_t k = 0; k < 8; ++k) source[click + k] = k % 2 ? -20000 : 20000;
  writeWav(wav, source);
  Samples unused;
  const std::string file = lessonFile(wav, GetParam(), &unused);
  ASSERT_FALSE(file.empty());

  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, file);
    ASSERT_TRUE(playStretch(*player, 2.3, 2.4));
  }
  const Samples out = readRaw(diskOutput(dir));
  size_t peak = 0;
  for (size_t i = 0; i < out.size(); ++i)
    if (std::abs(out[i]) > std::abs(out[peak])) peak = i;
  ASSERT_GT(std::abs(out[peak]), 3000);
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 1u);
  const double heardAt = 2.3 + (peak - runs[0].begin) / double(kRate);
  EXPECT_NEAR(heardAt, 2.350, 0.0005);
}

INSTANTIATE_TEST_SUITE_P(Formats, EncoderDelay, testing::Values("mp3", "wma"));

}  // namespace

// Positions, the end guard's hold, and a player without a usable file or
// without a sound device.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "audio_test_support.h"

using namespace audio_test;

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The position of a playing player passes through the stretch up to `end`:
// it is seen between where it started and `end` before it gets there, however
// late a busy machine lets this thread look.
bool movesOnTo(const platform::MediaPlayer& player, double end) {
  const double from = player.currentPosition();
  bool between = false;
  const bool arrived = waitFor(
      [&] {
        const double p = player.currentPosition();
        between = between || (p > from && p < end);
        return p >= end;
      },
      5);
  return arrived && between;
}

TEST(EndGuard, HoldsAtTheEndUntilPlayResumesPastIt) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(3.0, 5));
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, wav);
    player->setEndGuard(1.3);
    player->setCurrentPosition(1.0);
    EXPECT_EQ(player->currentPosition(), 1.0);
    player->play();
    ASSERT_TRUE(movesOnTo(*player, 1.3));
    // No pause from the caller: the guard itself holds, in silence.
    sleepMs(200);
    EXPECT_EQ(player->currentPosition(), 1.3);
    EXPECT_TRUE(player->holding());
    // Play goes on from the end it was held at.
    player->play();
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() > 1.4; }, 2));
    EXPECT_FALSE(player->holding());
    player->pause();
    EXPECT_FALSE(player->holding());
    const double paused = player->currentPosition();
    sleepMs(100);
    EXPECT_EQ(player->currentPosition(), paused);
  }
  const std::vector<SoundRun> runs = soundRuns(readRaw(diskOutput(dir)));
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].size(), size_t(0.3 * kRate));
}

TEST(EndGuard, PauseAndPlayResumeWhereThePlayStopped) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  const Samples source = noise(3.0, 9);
  writeWav(wav, source);
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, wav);
    player->setEndGuard(1.0);
    player->setCurrentPosition(0.2);
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() >= 0.45; }, 2));
    player->pause();
    sleepMs(150);
    player->play();
    ASSERT_TRUE(waitFor([&] { return player->currentPosition() >= 1.0; }, 2));
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 2u);
  // Together the two parts are the stretch, give or take the one device
  // buffer heard in the moment of the pause.
  const double heard = double(runs[0].size() + runs[1].size()) / kRate;
  EXPECT_NEAR(heard, 0.8, 0.02);
  const Samples tail(source.begin() + kRate - 2000, source.begin() + kRate);
  EXPECT_TRUE(Samples(out.begin() + runs[1].end - 2000, out.begin() + runs[1].end) == tail);
}

class UnusableFile : public testing::TestWithParam<const char*> {};

TEST_P(UnusableFile, LeavesThePlayerSilentAndItsPositionStill) {
  TempDir dir;
  const std::string path = dir.file(GetParam());
  if (std::string(GetParam()) == "garbage.mp3") {
    std::ofstream(path) << std::string(5000, 'x');
  }
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, path);
    player->setCurrentPosition(0.5);
    player->play();
    // Nothing will ever play: the player says so, and nothing waits for it.
    EXPECT_TRUE(waitFor([&] { return player->holding(); }, 2));
    sleepMs(300);
    EXPECT_EQ(player->currentPosition(), 0.5);
    player->pause();
  }
  for (int16_t v : readRaw(diskOutput(dir))) ASSERT_EQ(v, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, UnusableFile, testing::Values("missing.mp3", "garbage.mp3"),
                         [](const auto& test) { return std::string(test.param).substr(0, 7); });

TEST(NoDevice, ThePlayerRunsOnTheClock) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(2.0, 2));
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  platform::AudioEngine engine;
  EXPECT_FALSE(engine.outputAvailable());
  EXPECT_FALSE(engine.inputAvailable());
  auto player = openLesson(engine, wav);
  player->setEndGuard(1.3);
  player->setCurrentPosition(1.0);
  player->play();
  EXPECT_TRUE(movesOnTo(*player, 1.3));
  EXPECT_EQ(player->currentPosition(), 1.3);
}

}  // namespace

namespace {

struct FarTime {
  const char* name;
  double start;
  double guard;
  double heardSeconds;  // from the start to the end of the sound
};

class TimesPastTheAudio : public testing::TestWithParam<FarTime> {};

// A lesson time of fifteen or more digits stands for the end of the audio: a
// guard there lets the stretch play to the end and hold, a start there plays
// nothing; the position holds at the audio's end.
TEST_P(TimesPastTheAudio, StandForTheEndOfTheAudio) {
  const FarTime c = GetParam();
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  const Samples source = noise(2.0, 6);
  writeWav(wav, source);
  useDiskAudio(dir);
  {
    platform::AudioEngine engine;
    auto player = openLesson(engine, wav);
    player->setEndGuard(c.guard);
    player->setCurrentPosition(c.start);
    player->play();
    EXPECT_TRUE(waitFor([&] { return player->currentPosition() == 2.0; }, 3))
        << player->currentPosition();
    sleepMs(150);
    EXPECT_EQ(player->currentPosition(), 2.0);
    // Held at the sound's end, short of the guard: no more comes.
    EXPECT_TRUE(player->holding());
  }
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  if (c.heardSeconds == 0) {
    EXPECT_TRUE(runs.empty());
    return;
  }
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_TRUE(Samples(out.begin() + runs[0].begin, out.begin() + runs[0].end) ==
              Samples(source.end() - runs[0].size(), source.end()));
  EXPECT_NEAR(double(runs[0].size()) / kRate, c.heardSeconds, 0.001);
}

INSTANTIATE_TEST_SUITE_P(Times, TimesPastTheAudio,
                         testing::Values(FarTime{"guard_15_digits", 1.5, 123456789012345.0, 0.5},
                                         FarTime{"guard_huge", 1.5, 1e300, 0.5},
                                         FarTime{"start_15_digits", 123456789012345.0, -1, 0},
                                         FarTime{"start_and_guard_huge", 1e300, 1e301, 0}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace

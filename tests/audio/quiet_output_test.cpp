// Silence costs nothing: once every voice has been silent for a while the
// output stops and no thread of the engine wakes; the next sound starts it
// again and is heard whole from its first sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "audio_test_support.h"
#include "platform/audio/audio_core.h"
#include "platform/audio/audio_media_player.h"
#include "platform/audio/audio_sounds.h"
#include "platform/audio/audio_wave_device.h"

using namespace audio_test;
using platform::audio::Core;

namespace {

constexpr double kQuietSeconds = Core::kQuietNs / 1e9;

bool waitUntilStopped(const Core& core) {
  return waitFor([&] { return !core.outputRunning(); }, kQuietSeconds + 1.5);
}

// Voluntary and involuntary context switches of the output's threads: the
// engine's keeper and any thread of SDL's. (The lesson worker's sleep is the
// lesson side's own concern and has its own test.)
long outputThreadsSwitches() {
  long total = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    if (name != "audio-keeper" && name.rfind("SDL", 0) != 0) continue;
    std::ifstream status(task.path() / "status");
    std::string key;
    long value = 0;
    while (status >> key) {
      if (key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") {
        status >> value;
        total += value;
      }
    }
  }
  return total;
}

// Makes one voice sound and waits until it has been heard; `expected` is
// what the output must hold of it, from its first sample.
struct Voice {
  const char* name;
  std::function<void(const std::shared_ptr<Core>&, const TempDir&, std::function<void()>&,
                     Samples&)>
      make;
};

const Samples kClip = sine(0.3, 660, 5000);

void effectVoice(const std::shared_ptr<Core>& core, const TempDir& dir,
                 std::function<void()>& sound, Samples& expected) {
  writeWav(dir.file("clip.wav"), kClip);
  auto sounds = std::make_shared<platform::audio::EffectPlayer>(core);
  sound = [sounds, path = dir.file("clip.wav")] {
    sounds->play(path);
    waitFor([] { return false; }, 0.5);
  };
  expected = kClip;
}

void takeVoice(const std::shared_ptr<Core>& core, const TempDir& dir, std::function<void()>& sound,
               Samples& expected) {
  writeWav(dir.file("Recorder.wav"), Samples(100, 0));
  auto recorder = std::make_shared<platform::audio::Recorder>(core);
  auto dones = std::make_shared<int>(0);
  recorder->Done = [dones] { ++*dones; };
  recorder->setFileName(dir.file("Recorder.wav"));
  recorder->setCommand("open");
  recorder->setCommand("record");
  waitFor([] { return false; }, 0.3);
  recorder->setCommand("stop");
  sound = [recorder, dones] {
    const int before = *dones;
    recorder->setFrom(0);
    recorder->setCommand("play");
    waitFor([&] { return *dones > before; }, 3);
  };
  expected = noise(3.0, 5);  // the capture file; the take is its head
}

void lessonVoice(const std::shared_ptr<Core>& core, const TempDir& dir,
                 std::function<void()>& sound, Samples& expected) {
  const Samples lesson = noise(2.0, 9);
  writeWav(dir.file("lesson.wav"), lesson);
  auto player = std::make_shared<platform::audio::LessonPlayer>(core);
  player->setAutoStart(false);
  player->setURL(dir.file("lesson.wav"));
  player->setVolume(100);
  sound = [player] { playStretch(*player, 0.5, 1.0); };
  expected = Samples(lesson.begin() + kRate / 2, lesson.begin() + kRate);
}

class QuietOutput : public testing::TestWithParam<Voice> {};

TEST_P(QuietOutput, StopsAfterTheLastSoundAndTheNextIsHeardWholeFromItsFirstSample) {
  TempDir dir;
  writeRaw(dir.file("input.raw"), noise(3.0, 5));
  useDiskAudio(dir, dir.file("input.raw"));
  std::function<void()> sound;
  Samples expected;
  {
    auto core = std::make_shared<Core>();
    ASSERT_TRUE(core->outputAvailable());
    GetParam().make(core, dir, sound, expected);
    sound();
    ASSERT_TRUE(waitUntilStopped(*core)) << "the output still runs in silence";
    // Stopped, no thread of the engine wakes up.
    const long before = outputThreadsSwitches();
    waitFor([] { return false; }, 1.0);
    EXPECT_LE(outputThreadsSwitches() - before, 2);
    std::filesystem::remove(diskOutput(dir));
    sound();
    EXPECT_TRUE(core->outputRunning());
    sound = nullptr;
  }
  // The disk driver's file was written anew when the output started again.
  const Samples out = readRaw(diskOutput(dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 1u);
  const size_t n = runs[0].size();
  ASSERT_GT(n, kRate / 10);
  ASSERT_LE(n, expected.size());
  // A sine starts with a zero sample: its run starts one sample later.
  const size_t skip = expected[0] == 0 ? 1 : 0;
  EXPECT_TRUE(Samples(out.begin() + runs[0].begin, out.begin() + runs[0].end) ==
              Samples(expected.begin() + skip, expected.begin() + skip + n));
}

INSTANTIATE_TEST_SUITE_P(Voices, QuietOutput,
                         testing::Values(Voice{"effect", effectVoice}, Voice{"take", takeVoice},
                                         Voice{"lesson", lessonVoice}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(QuietClock, WithoutADeviceTheClockStopsInSilenceAndRunsAgainForTheNextPlay) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  TempDir dir;
  writeWav(dir.file("lesson.wav"), noise(3.0, 3));
  auto core = std::make_shared<Core>();
  ASSERT_FALSE(core->outputAvailable());
  platform::audio::LessonPlayer player(core);
  player.setAutoStart(false);
  player.setURL(dir.file("lesson.wav"));
  ASSERT_TRUE(playStretch(player, 0.2, 0.6));
  ASSERT_TRUE(waitUntilStopped(*core));
  const double at = player.currentPosition();
  EXPECT_NEAR(at, 0.6, 0.05);
  waitFor([] { return false; }, 0.3);
  EXPECT_EQ(player.currentPosition(), at) << "paused, the position stays";
  EXPECT_TRUE(playStretch(player, 1.0, 1.4)) << "the clock runs again";
}

}  // namespace

namespace {

// The recording starts at the record command whatever the output is doing:
// the take begins with the input's first sample.
struct OutputState {
  const char* name;
  std::function<void(Core&, platform::audio::EffectPlayer&, const std::string& clip)> reach;
};

class RecordingStart : public testing::TestWithParam<OutputState> {};

TEST_P(RecordingStart, TheTakeBeginsWithTheFirstSampleOfTheInput) {
  TempDir dir;
  const Samples input = noise(2.0, 17);
  writeRaw(dir.file("input.raw"), input);
  writeWav(dir.file("clip.wav"), sine(0.1, 440, 3000));
  useDiskAudio(dir, dir.file("input.raw"));
  auto core = std::make_shared<Core>();
  ASSERT_TRUE(core->inputAvailable());
  platform::audio::EffectPlayer sounds(core);
  platform::audio::TakeVoice take;
  take.reserve(kRate * 2);
  core->mixer.attach(&take);
  GetParam().reach(*core, sounds, dir.file("clip.wav"));
  take.startRecording();
  core->mixer.settle();
  ASSERT_TRUE(core->startCapture(take));
  waitFor([] { return false; }, 0.3);
  core->stopCapture();
  take.stopRecording();
  core->mixer.detach(&take);
  const auto got = take.samples();
  EXPECT_NEAR(double(got.size()) / kRate, 0.3, 0.1);
  ASSERT_GT(got.size(), 1000u);
  EXPECT_TRUE(std::equal(got.begin(), got.end(), input.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Output, RecordingStart,
    testing::Values(
        OutputState{"stopped", [](Core&, platform::audio::EffectPlayer&, const std::string&) {}},
        OutputState{"running", [](Core&, platform::audio::EffectPlayer& sounds,
                                  const std::string& clip) { sounds.play(clip); }},
        OutputState{"being_closed",
                    [](Core& core, platform::audio::EffectPlayer& sounds, const std::string& clip) {
                      sounds.play(clip);
                      waitFor([&] { return core.outputRunning(); }, 1);
                      // The quiet rule hands the device to be closed just now.
                      while (core.outputRunning()) std::this_thread::yield();
                    }}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace

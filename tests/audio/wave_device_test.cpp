// The recorder: open on the recorder file, record from the (disk) input, stop,
// play the take from its beginning, Done on the user-interface thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <fstream>
#include <thread>

#include "audio_test_support.h"

using namespace audio_test;

namespace {

void openSequence(platform::WaveDevice& device, const std::string& recorderFile) {
  device.setNotify(false);
  device.setWait(true);
  device.setShareable(false);
  device.setDeviceType("WaveAudio");
  device.setCommand("close");
  device.setFileName(recorderFile);
  device.setCommand("open");
}

struct Capture {
  TempDir dir;
  Samples input = noise(3.0, 21);
  std::string recorderFile = dir.file("Recorder.wav");
  Capture() {
    writeRaw(dir.file("input.raw"), input);
    useDiskAudio(dir, dir.file("input.raw"));
  }
};

TEST(WaveDevice, TakeComesOutSampleForSampleAndDoneFollowsOnTheUiThread) {
  Capture c;
  writeWav(c.recorderFile, Samples(100, 0));
  int dones = 0;
  bool onUiThread = false;
  {
    platform::AudioEngine engine;
    ASSERT_TRUE(engine.inputAvailable());
    auto device = engine.createWaveDevice();
    device->Done = [&] {
      ++dones;
      onUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    };
    openSequence(*device, c.recorderFile);
    device->setCommand("record");
    waitFor([] { return false; }, 0.4);
    device->setCommand("stop");
    EXPECT_EQ(dones, 0);
    device->setFrom(0);
    device->setCommand("play");
    ASSERT_TRUE(waitFor([&] { return dones == 1; }, 3));
    EXPECT_TRUE(onUiThread);
    waitFor([] { return false; }, 0.1);
    EXPECT_EQ(dones, 1);
  }
  const Samples out = readRaw(diskOutput(c.dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 1u);
  const size_t length = runs[0].size();
  EXPECT_NEAR(double(length) / kRate, 0.4, 0.1);
  EXPECT_TRUE(Samples(out.begin() + runs[0].begin, out.begin() + runs[0].end) ==
              Samples(c.input.begin(), c.input.begin() + length));
}

TEST(WaveDevice, PlayingAgainStartsFromTheBeginningAndStopRaisesNoDone) {
  Capture c;
  writeWav(c.recorderFile, Samples(100, 0));
  int dones = 0;
  {
    platform::AudioEngine engine;
    auto device = engine.createWaveDevice();
    device->Done = [&] { ++dones; };
    openSequence(*device, c.recorderFile);
    device->setCommand("record");
    waitFor([] { return false; }, 0.5);
    device->setCommand("stop");
    device->setFrom(0);
    device->setCommand("play");
    waitFor([] { return false; }, 0.2);
    device->setCommand("stop");  // cut short
    waitFor([] { return false; }, 0.2);
    device->setFrom(0);
    device->setCommand("play");
    ASSERT_TRUE(waitFor([&] { return dones == 1; }, 3));
  }
  const Samples out = readRaw(diskOutput(c.dir));
  const std::vector<SoundRun> runs = soundRuns(out);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_LT(runs[0].size(), runs[1].size());
  // Both plays begin with the take's first sample.
  for (const SoundRun& r : runs)
    EXPECT_TRUE(Samples(out.begin() + r.begin, out.begin() + r.begin + 1000) ==
                Samples(c.input.begin(), c.input.begin() + 1000));
}

TEST(WaveDevice, WithoutTheRecorderFileEveryCommandDoesNothing) {
  Capture c;  // no Recorder.wav written
  int dones = 0;
  {
    platform::AudioEngine engine;
    auto device = engine.createWaveDevice();
    device->Done = [&] { ++dones; };
    openSequence(*device, c.recorderFile);
    device->setCommand("record");
    waitFor([] { return false; }, 0.3);
    device->setCommand("stop");
    device->setFrom(0);
    device->setCommand("play");
    waitFor([] { return false; }, 0.5);
  }
  EXPECT_EQ(dones, 0);
  for (int16_t v : readRaw(diskOutput(c.dir))) ASSERT_EQ(v, 0);
}

TEST(WaveDevice, PlayWithoutATakeRaisesNoDone) {
  Capture c;
  writeWav(c.recorderFile, Samples(100, 0));
  int dones = 0;
  platform::AudioEngine engine;
  auto device = engine.createWaveDevice();
  device->Done = [&] { ++dones; };
  openSequence(*device, c.recorderFile);
  device->setFrom(0);
  device->setCommand("play");
  waitFor([] { return false; }, 0.3);
  EXPECT_EQ(dones, 0);
}

}  // namespace

// What the quiet output costs when sound comes back, and how soon a recording
// captures: on SDL's disk driver (paced in real time), the same engine in the
// same run with its output running and stopped.
//   build/bench/audio_quiet_bench
// - play latency: from play() (after a seek) to the first lesson sample
//   handed to the device, with the output still running from the sentence
//   before, being closed (a play that meets the quiet rule's close), and
//   stopped;
// - record: from the "record" command to the capture device running (its
//   first buffer begins then) and to the first samples delivered, with the
//   output running, being closed, and stopped.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_core.h"
#include "platform/audio/audio_format.h"
#include "platform/audio/audio_media_player.h"

namespace {

namespace audio = platform::audio;
const std::string kDir = "/tmp/parlenda-quiet-bench";
constexpr int kRuns = 6;

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void waitStopped(const audio::Core& core) {
  while (core.outputRunning()) sleepMs(1);
}

void writeLesson(const std::string& path, double seconds) {
  std::vector<int16_t> s(static_cast<size_t>(seconds * audio::kRate));
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(1000 + (i * 37) % 5000);
  std::ofstream f(path, std::ios::binary);
  auto put = [&](uint32_t v, int bytes) { f.write(reinterpret_cast<const char*>(&v), bytes); };
  const auto bytes = static_cast<uint32_t>(s.size() * 2);
  f.write("RIFF", 4);
  put(36 + bytes, 4);
  f.write("WAVEfmt ", 8);
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(audio::kRate, 4);
  put(audio::kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  f.write("data", 4);
  put(bytes, 4);
  f.write(reinterpret_cast<const char*>(s.data()), bytes);
}

struct Figures {
  std::vector<double> ms;
  void add(double v) { ms.push_back(v); }
  void print(const char* what) const {
    double sum = 0, worst = 0;
    for (double v : ms) {
      sum += v;
      worst = std::max(worst, v);
    }
    std::printf("%-62s mean %6.2f ms  worst %6.2f ms  (%zu runs)\n", what,
                sum / static_cast<double>(ms.size()), worst, ms.size());
  }
};

double msSince(int64_t t0, int64_t t1) { return static_cast<double>(t1 - t0) / 1e6; }

// One play after a seek: the time to its first sample at the device.
double playLatency(audio::LessonPlayer& player, double at) {
  player.setCurrentPosition(at);
  const int64_t t0 = audio::steadyNowNs();
  player.play();
  while (player.firstSampleNs() < t0) std::this_thread::yield();
  const double ms = msSince(t0, player.firstSampleNs());
  sleepMs(150);
  player.pause();
  return ms;
}

void playFigures(const std::shared_ptr<audio::Core>& core) {
  writeLesson(kDir + "/lesson.wav", 20);
  audio::LessonPlayer player(core);
  player.setAutoStart(false);
  player.setURL(kDir + "/lesson.wav");
  player.waitReady(5);
  Figures running, closing, stopped;
  for (int i = 0; i < kRuns; ++i) {
    running.add(playLatency(player, 1.0 + i));
    running.add(playLatency(player, 1.5 + i));  // right after: the output still runs
    waitStopped(*core);
    closing.add(playLatency(player, 2.0 + i));  // waits for the device's close
    waitStopped(*core);
    sleepMs(200);
    stopped.add(playLatency(player, 2.5 + i));
  }
  running.print("play latency, output running");
  closing.print("play latency, output being closed (the quiet rule just ran)");
  stopped.print("play latency, output stopped");
}

void recordFigures(const std::shared_ptr<audio::Core>& core) {
  audio::TakeVoice take;
  take.reserve(int64_t{10} * audio::kRate);
  core->mixer.attach(&take);
  const double period = 1e3 * audio::kPeriodFrames / audio::kRate;
  Figures whileClosing, stopped, delivered, withOutput;
  auto record = [&](Figures& start, Figures* first) {
    const int64_t t0 = audio::steadyNowNs();
    take.startRecording();
    core->mixer.settle();
    if (!core->startCapture(take)) std::abort();
    while (take.firstCaptureNs() == 0) std::this_thread::yield();
    const double firstMs = msSince(t0, take.firstCaptureNs());
    // The first buffer holds the samples of the period before it arrived.
    start.add(std::max(0.0, firstMs - period));
    if (first) first->add(firstMs);
    sleepMs(100);
    core->stopCapture();
    take.stopRecording();
  };
  auto soundTake = [&] {
    take.startPlay(0);  // the output starts for the take
    core->wake();
    sleepMs(50);
  };
  for (int i = 0; i < kRuns; ++i) {
    soundTake();
    record(withOutput, nullptr);
    take.stopPlay();
    waitStopped(*core);  // the quiet rule has just handed the device to be closed
    record(whileClosing, nullptr);
    sleepMs(200);
    record(stopped, &delivered);
  }
  withOutput.print("record command to the first sample captured, output running");
  whileClosing.print("record command to the first sample captured, output closing");
  stopped.print("record command to the first sample captured, output stopped");
  delivered.print("record command to the first samples delivered (one buffer on)");
  core->mixer.detach(&take);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::filesystem::create_directories(kDir);
  std::vector<int16_t> input(static_cast<size_t>(audio::kRate) * 5, 1000);
  std::ofstream(kDir + "/input.raw", std::ios::binary)
      .write(reinterpret_cast<const char*>(input.data()),
             static_cast<std::streamsize>(input.size() * 2));
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (kDir + "/output.raw").c_str(), 1);
  setenv("SDL_DISKAUDIOFILEIN", (kDir + "/input.raw").c_str(), 1);
  auto core = std::make_shared<audio::Core>();
  if (!core->outputAvailable() || !core->inputAvailable()) return 1;
  std::printf("SDL disk driver, %d-frame buffers (%.1f ms), quiet after %.1f s\n",
              audio::kPeriodFrames, 1e3 * audio::kPeriodFrames / audio::kRate,
              audio::Core::kQuietNs / 1e9);
  playFigures(core);
  recordFigures(core);
  return 0;
}

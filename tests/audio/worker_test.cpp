// The lesson worker on its own, without a sound device: it never hangs a
// shut-down, and it sleeps while nothing plays.
#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "audio_test_support.h"
#include "platform/audio/audio_lesson_voice.h"
#include "platform/audio/audio_lesson_worker.h"

using namespace audio_test;
using platform::audio::LessonVoice;
using platform::audio::LessonWorker;
using platform::audio::PlayRequest;

namespace {

// Starts generations until the queue is full of blocks nobody takes.
void fillQueue(LessonVoice& voice, LessonWorker& worker) {
  for (uint32_t g = 1; g <= 8; ++g) {
    voice.activeGeneration = g;
    worker.request(PlayRequest{g, 0.1 * g, 1.0, -1});
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (worker.readyGeneration() != g && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Context switches of every thread but this one.
long otherThreadsSwitches() {
  long total = 0;
  const std::string self = std::to_string(gettid());
  DIR* d = opendir("/proc/self/task");
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.' || self == e->d_name) continue;
    std::ifstream f(std::string("/proc/self/task/") + e->d_name + "/status");
    for (std::string line; std::getline(f, line);)
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) total += std::stol(line.substr(24));
  }
  closedir(d);
  return total;
}

TEST(LessonWorker, QuitsWhileWaitingOnAFullQueue) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(2.0, 3));
  auto voice = std::make_unique<LessonVoice>();
  auto worker = std::make_unique<LessonWorker>(*voice);
  worker->open(wav);
  fillQueue(*voice, *worker);
  ASSERT_TRUE(voice->ring.full());
  std::promise<void> gone;
  std::thread([&] {
    worker.reset();
    gone.set_value();
  }).detach();
  if (gone.get_future().wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
    ADD_FAILURE() << "the worker did not quit";
    std::_Exit(1);  // it never will: do not hang the test run
  }
}

TEST(LessonWorker, SleepsWhileNothingPlays) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(2.0, 3));
  LessonVoice voice;
  LessonWorker worker(voice);
  worker.open(wav);
  // One stretch queued and waiting for play; one held at its end.
  for (uint32_t g = 1; g <= 2; ++g) {
    voice.activeGeneration = g;
    worker.request(PlayRequest{g, 1.0, 1.0, g == 1 ? -1 : 1.01});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const long before = otherThreadsSwitches();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_LE(otherThreadsSwitches() - before, 2) << "generation " << g;
  }
}

}  // namespace

#pragma once
// The lesson worker thread: opens the lesson file, and for each seek, rate or
// guard setting (a generation) decodes from the start frame, stretches when
// the rate is not 1.0, stops at the end guard, and queues the result for the
// device callback. It sleeps until told whenever it has nothing to do; only
// while the lesson is heard does it look for room in the queue now and then.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/audio/audio_lesson_voice.h"

namespace platform::audio {

struct PlayRequest {
  uint32_t generation = 0;
  double startSeconds = 0;
  double rate = 1.0;
  double guardSeconds = -1;  // negative: no guard
};

class LessonWorker {
 public:
  explicit LessonWorker(LessonVoice& voice);
  ~LessonWorker();
  LessonWorker(const LessonWorker&) = delete;
  LessonWorker& operator=(const LessonWorker&) = delete;

  // User-interface thread. Only the latest request counts.
  void open(const std::string& path);
  void request(const PlayRequest& r);
  // The voice started playing: queued blocks will now be taken.
  void nudge();

  // Progress, for tests and benchmarks.
  uint32_t openedSerial() const { return openedSerial_.load(); }
  bool fileValid() const { return fileValid_.load(); }
  bool indexComplete() const { return indexComplete_.load(); }
  int64_t totalFrames() const { return totalFrames_.load(); }
  size_t storedBytes() const { return storedBytes_.load(); }
  uint32_t readyGeneration() const { return readyGeneration_.load(); }
  uint32_t openSerialRequested() const { return openSerial_; }

 private:
  struct Production;
  void run();
  // Sleeps while `p`'s queue is full; false when production must stop (the
  // worker quits, or a newer request made it stale).
  bool waitForRoom(const Production& p);

  LessonVoice& voice_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool quit_ = false;
  uint32_t openSerial_ = 0;
  uint32_t nudges_ = 0;
  std::string openPath_;
  PlayRequest pending_;

  std::atomic<uint32_t> openedSerial_{0};
  std::atomic<bool> fileValid_{false};
  std::atomic<bool> indexComplete_{false};
  std::atomic<int64_t> totalFrames_{0};
  std::atomic<size_t> storedBytes_{0};
  std::atomic<uint32_t> readyGeneration_{0};

  std::thread thread_;
};

}  // namespace platform::audio

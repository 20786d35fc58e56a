#pragma once
// The lesson as the device callback sees it: blocks from the worker, mixed in
// while playing, and a snapshot of what was handed to the device last, from
// which the user-interface thread reads the position.
#include <atomic>
#include <cstdint>

#include "platform/audio/audio_block_ring.h"

namespace platform::audio {

struct HeardSnapshot {
  uint32_t generation = 0;
  bool started = false;   // a sample of this generation has been handed over
  double mediaBegin = 0;  // media frame of the buffer's first lesson sample
  double step = 1;
  int frames = 0;      // lesson samples in that buffer
  int64_t timeNs = 0;  // when the buffer was handed over
  bool held = false;   // the stretch ended within that buffer
  double holdSeconds = 0;
};

class LessonVoice {
 public:
  // A stretch starts sounding once this much of it is queued (or all of it):
  // started on the worker's first block, a busy machine that let the worker
  // wait put a gap of silence after that block, inside the sentence.
  static constexpr int kStartCushionFrames = 4096;

  BlockRing ring;
  std::atomic<uint32_t> activeGeneration{0};
  std::atomic<bool> playing{false};
  std::atomic<float> gain{0.5f};
  // Set by the callback when it hands over the first sample of a generation
  // (the play-latency benchmark reads it).
  std::atomic<int64_t> firstSampleNs{0};

  // Device callback: adds the lesson to `mix`.
  void render(int32_t* mix, int frames, int64_t nowNs);
  // User-interface thread.
  HeardSnapshot snapshot() const;

 private:
  void publish(const HeardSnapshot& s);
  bool cushionQueued(uint32_t gen);

  // Callback-thread state.
  uint32_t generation_ = 0;
  int frontOffset_ = 0;
  bool started_ = false;
  bool held_ = false;
  double holdSeconds_ = 0;
  double nextMedia_ = 0;
  double step_ = 1;

  // The snapshot, guarded by a sequence counter (odd while being written).
  std::atomic<uint32_t> seq_{0};
  std::atomic<uint32_t> snapGeneration_{0};
  std::atomic<bool> snapStarted_{false};
  std::atomic<double> snapMediaBegin_{0};
  std::atomic<double> snapStep_{1};
  std::atomic<int> snapFrames_{0};
  std::atomic<int64_t> snapTimeNs_{0};
  std::atomic<bool> snapHeld_{false};
  std::atomic<double> snapHoldSeconds_{0};
};

}  // namespace platform::audio

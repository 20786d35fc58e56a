#pragma once
// A single-producer single-consumer queue of sample blocks: the lesson worker
// pushes, the device callback pops. Neither side blocks or allocates.
#include <array>
#include <atomic>
#include <cstdint>

namespace platform::audio {

struct LessonBlock {
  static constexpr int kCapacity = 256;
  uint32_t generation = 0;  // which seek, rate or guard setting produced it
  int frames = 0;
  double mediaStart = 0;   // media frame of samples[0]
  double step = 1;         // media frames per output frame (the rate)
  bool last = false;       // the stretch ends after this block
  double holdSeconds = 0;  // the position to hold once `last` has been heard
  std::array<int16_t, kCapacity> samples{};
};

class BlockRing {
 public:
  static constexpr uint64_t kSlots = 128;

  // Producer side.
  bool full() const {
    return tail_.load(std::memory_order_relaxed) - head_.load(std::memory_order_acquire) >= kSlots;
  }
  LessonBlock& back() { return slots_[tail_.load(std::memory_order_relaxed) % kSlots]; }
  void push() { tail_.fetch_add(1, std::memory_order_release); }
  uint64_t pushed() const { return tail_.load(std::memory_order_relaxed); }
  uint64_t popped() const { return head_.load(std::memory_order_acquire); }

  // Consumer side.
  LessonBlock* front() {
    const uint64_t head = head_.load(std::memory_order_relaxed);
    return head == tail_.load(std::memory_order_acquire) ? nullptr : &slots_[head % kSlots];
  }
  void pop() { head_.fetch_add(1, std::memory_order_release); }
  // The block k places behind the front, or null when fewer are queued.
  LessonBlock* at(uint64_t k) {
    const uint64_t head = head_.load(std::memory_order_relaxed);
    return head + k < tail_.load(std::memory_order_acquire) ? &slots_[(head + k) % kSlots]
                                                            : nullptr;
  }

 private:
  std::array<LessonBlock, kSlots> slots_;
  std::atomic<uint64_t> head_{0};
  std::atomic<uint64_t> tail_{0};
};

}  // namespace platform::audio

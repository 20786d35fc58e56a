#pragma once
// The one sample format every voice is mixed in: mono int16 at 44.1 kHz.
// SDL converts it to whatever the hardware wants.
#include <chrono>
#include <cstdint>

namespace platform::audio {

inline constexpr int kRate = 44100;
// 512 frames (11.6 ms) keeps the wait from play() to the first sample handed
// to the device short; the disk driver paces 512-frame buffers in real time.
inline constexpr int kPeriodFrames = 512;

// Times are clamped to [0, kLastMediaFrame] (a time past any lesson's audio
// stands for its end; about 6,600 years), so no conversion overflows.
inline constexpr int64_t kLastMediaFrame = int64_t{1} << 53;
// The media frame at or after `seconds` (a frame exactly at the time counts).
int64_t frameAtOrAfter(double seconds);
// The media frame nearest to `seconds`.
int64_t nearestFrame(double seconds);

inline int16_t clampToInt16(int32_t value) {
  return static_cast<int16_t>(value > 32767 ? 32767 : (value < -32768 ? -32768 : value));
}

// The steady clock in nanoseconds, shared by the device and the player.
inline int64_t steadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace platform::audio

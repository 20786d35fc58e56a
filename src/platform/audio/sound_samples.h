#pragma once
// A stretch of sound handed out of the audio engine for analysis: mono 16-bit
// samples at their own rate.
#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

struct SoundSamples {
  std::vector<int16_t> samples;
  int rate = 44100;
};

// Reads a stretch when called; it may be called on any thread.
using SoundReader = std::function<SoundSamples()>;

}  // namespace platform

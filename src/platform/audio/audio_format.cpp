#include "platform/audio/audio_format.h"

#include <cmath>

namespace platform::audio {

namespace {

// A whole number of frames, NaN and negatives as 0.
int64_t clampedFrame(double frames) {
  if (!(frames > 0)) return 0;
  if (frames >= static_cast<double>(kLastMediaFrame)) return kLastMediaFrame;
  return static_cast<int64_t>(frames);
}

}  // namespace

// A hair of tolerance so that 2.35 s, which is 103635.00000000001 frames in
// binary, counts as frame 103635 and not 103636.
int64_t frameAtOrAfter(double seconds) { return clampedFrame(std::ceil(seconds * kRate - 1e-6)); }

int64_t nearestFrame(double seconds) { return clampedFrame(std::round(seconds * kRate)); }

}  // namespace platform::audio

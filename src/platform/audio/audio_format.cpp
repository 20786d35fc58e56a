#include "platform/audio/audio_format.h"

#include <cmath>

namespace platform::audio {

// A hair of tolerance so that 2.35 s, which is 103635.00000000001 frames in
// binary, counts as frame 103635 and not 103636.
int64_t frameAtOrAfter(double seconds) {
  return static_cast<int64_t>(std::ceil(seconds * kRate - 1e-6));
}

int64_t nearestFrame(double seconds) { return std::llround(seconds * kRate); }

}  // namespace platform::audio

#pragma once
// Spectral features that follow what is said, not who says it: mel-frequency
// cepstral coefficients 1-8 (no energy term) with their deltas, normalised
// to zero mean and unit variance over the speech. The low cepstra keep the
// broad shape of each sound and smooth the harmonics away, so a man's take
// and a woman's model align on the words (the higher ones carry more of the
// speaker's voice and made another voice's path stall); the deltas mark the
// changes between sounds; the normalisation removes the microphone's and the
// room's colouring, and loudness plays no part.
#include <vector>

#include "analysis/sound_frames.h"

namespace analysis {

inline constexpr int kCepstra = 8;
inline constexpr int kFeatureSize = 2 * kCepstra;

// kFeatureSize values for each frame of `span`, frame after frame.
std::vector<float> speechFeatures(const std::vector<float>& samples, Span span);

}  // namespace analysis

#pragma once
// Pitch by YIN (de Cheveigné and Kawahara, 2002) with the difference function
// computed through FFTW, and the contour in semitones from its own median.
#include <vector>

#include "analysis/sound_frames.h"

namespace analysis {

// Hz for each frame of `span` (0 where unvoiced); frames softer than
// `voicedLevel` dB are taken as unvoiced.
std::vector<float> pitchContour(const std::vector<float>& samples, const std::vector<float>& levels,
                                Span span, float voicedLevel);

// Semitones from the median of the voiced frames; NaN where unvoiced.
std::vector<float> semitonesFromMedian(const std::vector<float>& hz);

}  // namespace analysis

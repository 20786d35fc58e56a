#pragma once
// Both sounds are analysed at one rate in 10 ms frames; the speech of each is
// found by its level, so a silent lead-in and tail are left out.
#include <vector>

#include "analysis/take_analysis.h"

namespace analysis {

inline constexpr int kRate = 16000;  // enough for pitch and the speech spectrum
inline constexpr int kHop = 160;     // 10 ms between frames
inline constexpr int kWindow = 400;  // 25 ms seen by each frame
inline constexpr double kStep = double(kHop) / kRate;

// The samples as floats in [-1, 1] at kRate.
std::vector<float> atAnalysisRate(const Sound& sound);

// Seconds from the start of the sound to the middle of frame k.
double frameTime(int frame);
int frameCount(size_t samples);

// Level of each frame in dB below full scale (-100 for digital silence).
std::vector<float> frameLevels(const std::vector<float>& samples);

// Frames [first, last) that hold speech; empty when there is none.
struct Span {
  int first = 0, last = 0;
  int size() const { return last - first; }
};
Span speechSpan(const std::vector<float>& levels);

// The level of the speaker's loud syllables within the span (dB).
float loudLevel(const std::vector<float>& levels, Span span);

}  // namespace analysis

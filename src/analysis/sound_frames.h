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

// Frames are 10 ms apart and 25 ms long at any rate: frame k of a sound
// starts at k / 100 seconds.
double frameTime(int frame);  // seconds from the start of the sound to its middle
int frameCount(const Sound& sound);

// Level of each frame in dB below full scale (-100 for digital silence),
// measured at the sound's own rate.
std::vector<float> frameLevels(const Sound& sound);

// Frames [first, last) of the sound (and the rest of the last one's window)
// as floats in [-1, 1] at kRate: frame first + k starts at sample k * kHop.
std::vector<float> excerptAtAnalysisRate(const Sound& sound, int first, int last);

// Frames [first, last) that hold speech; empty when there is none.
struct Span {
  int first = 0, last = 0;
  int size() const { return last - first; }
};
Span speechSpan(const std::vector<float>& levels);

// The level of the speaker's loud syllables within the span (dB).
float loudLevel(const std::vector<float>& levels, Span span);

}  // namespace analysis

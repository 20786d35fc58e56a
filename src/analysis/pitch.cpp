#include "analysis/pitch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/fft.h"

namespace analysis {

namespace {
constexpr int kMinHz = 50, kMaxHz = 500;  // men's low voices to women's and children's high ones
constexpr int kTauMin = kRate / kMaxHz, kTauMax = kRate / kMinHz;
constexpr int kYinWindow = 480;
constexpr int kSegment = kYinWindow + kTauMax;
constexpr int kFftSize = 1024;          // holds kSegment without wrapping the lags used
constexpr float kDipThreshold = 0.15f;  // YIN's absolute threshold
constexpr float kVoicedDip = 0.45f;  // a shallower best dip is noise or breath (fricatives lie near
                                     // 0.7-0.9; low voices reach 0.4)
constexpr int kShortestVoicedRun = 5;  // 50 ms
constexpr float kOctaveJump = 9;       // semitones from the median that point to an octave error
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The YIN period estimate of one segment, in samples; 0 when unvoiced.
class Yin {
 public:
  Yin() : fft_(kFftSize), window_(kFftSize / 2 + 1), buffer_(kFftSize), dip_(kTauMax + 1) {}

  float period(const float* segment) {
    correlate(segment);
    cumulativeMeanNormalisedDifference(segment);
    int best = kTauMin;
    while (best < kTauMax && dip_[size_t(best)] >= kDipThreshold) ++best;
    if (best == kTauMax) {
      best = int(std::min_element(dip_.begin() + kTauMin, dip_.end()) - dip_.begin());
    } else {
      while (best + 1 <= kTauMax && dip_[size_t(best + 1)] < dip_[size_t(best)]) ++best;
    }
    if (dip_[size_t(best)] >= kVoicedDip) return 0;
    return refine(best);
  }

 private:
  // correlation_[tau] = sum over the window of x[j] * x[j + tau].
  void correlate(const float* segment) {
    std::fill(buffer_.begin(), buffer_.end(), 0.0f);
    std::copy(segment, segment + kYinWindow, buffer_.begin());
    const auto* windowBins = fft_.forward(buffer_.data());
    std::copy(windowBins, windowBins + window_.size(), window_.begin());
    std::copy(segment, segment + kSegment, buffer_.begin());
    const auto* segmentBins = fft_.forward(buffer_.data());
    for (size_t i = 0; i < window_.size(); ++i) window_[i] = std::conj(window_[i]) * segmentBins[i];
    const float* lagged = fft_.inverse(window_.data());
    correlation_.assign(lagged, lagged + kTauMax + 1);
  }

  void cumulativeMeanNormalisedDifference(const float* segment) {
    std::vector<double> energy(kSegment + 1, 0.0);  // running sums of squares
    for (int i = 0; i < kSegment; ++i)
      energy[size_t(i + 1)] = energy[size_t(i)] + segment[i] * segment[i];
    const double e0 = energy[kYinWindow];
    double running = 0;
    dip_[0] = 1;
    for (int tau = 1; tau <= kTauMax; ++tau) {
      const double eTau = energy[size_t(tau + kYinWindow)] - energy[size_t(tau)];
      const double d = std::max(0.0, e0 + eTau - 2.0 * correlation_[size_t(tau)] / kFftSize);
      running += d;
      dip_[size_t(tau)] = running > 0 ? float(d * tau / running) : 1.0f;
    }
  }

  // The dip's bottom between samples, by a parabola through three lags.
  float refine(int tau) const {
    if (tau <= kTauMin || tau >= kTauMax) return float(tau);
    const float a = dip_[size_t(tau - 1)], b = dip_[size_t(tau)], c = dip_[size_t(tau + 1)];
    const float curve = a - 2 * b + c;
    return curve > 0 ? float(tau) + 0.5f * (a - c) / curve : float(tau);
  }

  RealFft fft_;
  std::vector<std::complex<float>> window_;
  std::vector<float> buffer_, correlation_, dip_;
};

// Voiced frames keep the median of their voiced neighbours: a single frame
// an octave off does not survive.
void medianSmooth(std::vector<float>& hz) {
  const std::vector<float> raw = hz;
  for (size_t k = 0; k < hz.size(); ++k) {
    if (raw[k] <= 0) continue;
    std::vector<float> near;
    for (size_t i = k >= 2 ? k - 2 : 0; i < std::min(raw.size(), k + 3); ++i)
      if (raw[i] > 0) near.push_back(raw[i]);
    std::nth_element(near.begin(), near.begin() + std::ptrdiff_t(near.size() / 2), near.end());
    hz[k] = near[near.size() / 2];
  }
}

void dropShortVoicedRuns(std::vector<float>& hz) {
  size_t k = 0;
  while (k < hz.size()) {
    if (hz[k] <= 0) {
      ++k;
      continue;
    }
    size_t end = k;
    while (end < hz.size() && hz[end] > 0) ++end;
    if (end - k < size_t(kShortestVoicedRun))
      std::fill(hz.begin() + std::ptrdiff_t(k), hz.begin() + std::ptrdiff_t(end), 0.0f);
    k = end;
  }
}

float medianOf(std::vector<float> values) {
  auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}
}  // namespace

std::vector<float> pitchContour(const std::vector<float>& samples, const std::vector<float>& levels,
                                Span span, float voicedLevel) {
  Yin yin;
  std::vector<float> segment(kSegment);
  std::vector<float> hz(size_t(std::max(0, span.size())), 0.0f);
  for (int k = span.first; k < span.last; ++k) {
    if (levels[size_t(k)] < voicedLevel) continue;
    // The segment is centred on the frame; outside the sound is silence.
    const long start = long(k) * kHop + kWindow / 2 - kSegment / 2;
    for (int i = 0; i < kSegment; ++i) {
      const long at = start + i;
      segment[size_t(i)] = at >= 0 && at < long(samples.size()) ? samples[size_t(at)] : 0.0f;
    }
    const float period = yin.period(segment.data());
    hz[size_t(k - span.first)] = period > 0 ? float(kRate) / period : 0.0f;
  }
  medianSmooth(hz);
  dropShortVoicedRuns(hz);
  return hz;
}

std::vector<float> semitonesFromMedian(const std::vector<float>& hz) {
  std::vector<float> semitones(hz.size(), kNaN);
  std::vector<float> voiced;
  for (size_t k = 0; k < hz.size(); ++k)
    if (hz[k] > 0) voiced.push_back(semitones[k] = 12.0f * std::log2(hz[k]));
  if (voiced.empty()) return semitones;
  const float median = medianOf(voiced);
  for (float& s : semitones) {
    if (std::isnan(s)) continue;
    s -= median;
    // An octave error lands about 12 semitones off; bring it back.
    if (s > kOctaveJump) s -= 12;
    if (s < -kOctaveJump) s += 12;
  }
  return semitones;
}

}  // namespace analysis

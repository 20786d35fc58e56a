#include "analysis/features.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/fft.h"

namespace analysis {

namespace {
constexpr int kFftSize = 512;
constexpr int kBins = kFftSize / 2 + 1;
constexpr int kMelBands = 26;
constexpr double kLowHz = 100, kHighHz = 7000;
constexpr float kPreEmphasis = 0.97f;
constexpr int kDeltaReach = 2;  // frames either side

double mel(double hz) { return 2595.0 * std::log10(1.0 + hz / 700.0); }
double hzOfMel(double m) { return 700.0 * (std::pow(10.0, m / 2595.0) - 1.0); }

// A triangular mel filter: its weights over the FFT bins [first, first + size).
struct MelBand {
  int first = 0;
  std::vector<float> weights;
};

std::vector<MelBand> melBands() {
  std::vector<MelBand> bands(kMelBands);
  std::vector<double> edges(kMelBands + 2);
  for (int i = 0; i < kMelBands + 2; ++i)
    edges[size_t(i)] = hzOfMel(mel(kLowHz) + (mel(kHighHz) - mel(kLowHz)) * i / (kMelBands + 1));
  for (int band = 0; band < kMelBands; ++band) {
    const double low = edges[size_t(band)], mid = edges[size_t(band + 1)],
                 high = edges[size_t(band + 2)];
    MelBand& b = bands[size_t(band)];
    b.first = int(std::ceil(low * kFftSize / kRate));
    for (int bin = b.first; bin < kBins && double(bin) * kRate / kFftSize < high; ++bin) {
      const double hz = double(bin) * kRate / kFftSize;
      const double weight = hz < mid ? (hz - low) / (mid - low) : (high - hz) / (high - mid);
      b.weights.push_back(float(std::max(0.0, weight)));
    }
  }
  return bands;
}

// DCT-II rows 1..kCepstra.
std::vector<float> cosineTable() {
  std::vector<float> table(size_t(kCepstra * kMelBands));
  for (int c = 0; c < kCepstra; ++c)
    for (int b = 0; b < kMelBands; ++b)
      table[size_t(c * kMelBands + b)] =
          float(std::cos(std::numbers::pi * (c + 1) * (b + 0.5) / kMelBands));
  return table;
}

void addDeltas(std::vector<float>& features, int frames) {
  constexpr float kNorm = 2 * (1 * 1 + 2 * 2);
  for (int k = 0; k < frames; ++k) {
    for (int c = 0; c < kCepstra; ++c) {
      float delta = 0;
      for (int n = 1; n <= kDeltaReach; ++n) {
        const int ahead = std::min(frames - 1, k + n), behind = std::max(0, k - n);
        delta += float(n) * (features[size_t(ahead * kFeatureSize + c)] -
                             features[size_t(behind * kFeatureSize + c)]);
      }
      features[size_t(k * kFeatureSize + kCepstra + c)] = delta / kNorm;
    }
  }
}

void normalise(std::vector<float>& features, int frames) {
  for (int d = 0; d < kFeatureSize; ++d) {
    double sum = 0, squares = 0;
    for (int k = 0; k < frames; ++k) {
      const double v = features[size_t(k * kFeatureSize + d)];
      sum += v;
      squares += v * v;
    }
    const double mean = sum / frames;
    const double deviation = std::sqrt(std::max(1e-9, squares / frames - mean * mean));
    for (int k = 0; k < frames; ++k) {
      float& v = features[size_t(k * kFeatureSize + d)];
      v = float((v - mean) / deviation);
    }
  }
}
}  // namespace

std::vector<float> speechFeatures(const std::vector<float>& samples, Span span) {
  static const std::vector<MelBand> filters = melBands();
  static const std::vector<float> cosines = cosineTable();
  static const std::vector<float> hamming = [] {
    std::vector<float> w(kWindow);
    for (int i = 0; i < kWindow; ++i)
      w[size_t(i)] = float(0.54 - 0.46 * std::cos(2 * std::numbers::pi * i / (kWindow - 1)));
    return w;
  }();
  const int frames = std::max(0, span.size());
  std::vector<float> features(size_t(frames * kFeatureSize), 0.0f);
  RealFft fft(kFftSize);
  std::vector<float> frame(kFftSize, 0.0f), bands(kMelBands);
  for (int k = 0; k < frames; ++k) {
    const size_t start = size_t(span.first + k) * kHop;
    // Outside the samples is silence.
    const auto at = [&](size_t i) { return i < samples.size() ? samples[i] : 0.0f; };
    for (size_t i = 0; i < size_t(kWindow); ++i) {
      const float previous = start + i > 0 ? at(start + i - 1) : 0.0f;
      frame[i] = (at(start + i) - kPreEmphasis * previous) * hamming[i];
    }
    const auto* bins = fft.forward(frame.data());
    for (int b = 0; b < kMelBands; ++b) {
      const MelBand& band = filters[size_t(b)];
      double energy = 0;
      for (size_t i = 0; i < band.weights.size(); ++i)
        energy += band.weights[i] * std::norm(bins[band.first + int(i)]);
      bands[size_t(b)] = float(std::log(energy + 1e-10));
    }
    for (int c = 0; c < kCepstra; ++c) {
      float sum = 0;
      for (int b = 0; b < kMelBands; ++b)
        sum += cosines[size_t(c * kMelBands + b)] * bands[size_t(b)];
      features[size_t(k * kFeatureSize + c)] = sum;
    }
  }
  addDeltas(features, frames);
  if (frames > 0) normalise(features, frames);
  return features;
}

}  // namespace analysis

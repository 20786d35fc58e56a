#include "analysis/sound_frames.h"

#include <algorithm>
#include <cmath>

#include "analysis/fft.h"

namespace analysis {

namespace {
constexpr float kFloorDb = -100;
constexpr float kQuietestSpeechDb = -50;  // a take's loudest syllable lies above this
constexpr float kSpeechBelowPeakDb = 35;  // softer than this under the peak is pause or breath
constexpr float kSpeechAboveNoiseDb = 12;
constexpr int kSustainedFrames = 5;  // 50 ms: a mouse click or a pop is shorter
constexpr int kMarginFrames = 5;     // kept either side so onsets and fades stay whole

float percentile(std::vector<float> values, double fraction) {
  if (values.empty()) return kFloorDb;
  auto at = values.begin() + std::ptrdiff_t(fraction * double(values.size() - 1));
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

// The first frame from `from` (stepping by `direction`) that starts a run of
// kSustainedFrames frames above `threshold`; -1 when there is none.
int sustainedOnset(const std::vector<float>& levels, float threshold, int from, int direction) {
  int run = 0;
  for (int k = from; k >= 0 && k < int(levels.size()); k += direction) {
    run = levels[size_t(k)] > threshold ? run + 1 : 0;
    if (run == kSustainedFrames) return k - direction * (kSustainedFrames - 1);
  }
  return -1;
}
}  // namespace

namespace {
size_t startOf(int frame, int rate) { return size_t(int64_t(frame) * rate / 100); }
size_t windowOf(int rate) { return size_t(rate) / 40; }
}  // namespace

double frameTime(int frame) { return frame / 100.0 + 0.0125; }

int frameCount(const Sound& sound) {
  const size_t n = sound.samples.size();
  if (sound.rate <= 0 || n < windowOf(sound.rate)) return 0;
  return int(int64_t(n - windowOf(sound.rate)) * 100 / sound.rate) + 1;
}

std::vector<float> frameLevels(const Sound& sound) {
  std::vector<float> levels(size_t(frameCount(sound)));
  const size_t window = windowOf(sound.rate);
  for (size_t k = 0; k < levels.size(); ++k) {
    const size_t start = startOf(int(k), sound.rate);
    double sum = 0;
    for (size_t i = start; i < start + window; ++i)
      sum += double(sound.samples[i]) * sound.samples[i];
    const double rms = std::sqrt(sum / double(window)) / 32768.0;
    levels[k] = rms > 0 ? std::max(kFloorDb, float(20 * std::log10(rms))) : kFloorDb;
  }
  return levels;
}

std::vector<float> excerptAtAnalysisRate(const Sound& sound, int first, int last) {
  const size_t from = std::min(sound.samples.size(), startOf(first, sound.rate));
  const size_t to =
      std::min(sound.samples.size(), startOf(last, sound.rate) + windowOf(sound.rate));
  std::vector<float> excerpt(to - from);
  for (size_t i = 0; i < excerpt.size(); ++i)
    excerpt[i] = float(sound.samples[from + i]) / 32768.0f;
  if (sound.rate == kRate || excerpt.empty()) return excerpt;
  return resampleBySpectrum(excerpt, sound.rate, kRate);
}

Span speechSpan(const std::vector<float>& levels) {
  if (levels.empty()) return {};
  const float peak = *std::max_element(levels.begin(), levels.end());
  const float noise = percentile(levels, 0.1);
  if (peak < kQuietestSpeechDb || peak - noise < kSpeechAboveNoiseDb) return {};
  const float threshold = std::max(peak - kSpeechBelowPeakDb, noise + kSpeechAboveNoiseDb / 2);
  const int first = sustainedOnset(levels, threshold, 0, 1);
  const int last = sustainedOnset(levels, threshold, int(levels.size()) - 1, -1);
  if (first < 0 || last < first) return {};
  return {std::max(0, first - kMarginFrames),
          std::min(int(levels.size()), last + 1 + kMarginFrames)};
}

float loudLevel(const std::vector<float>& levels, Span span) {
  return percentile({levels.begin() + span.first, levels.begin() + span.last}, 0.95);
}

}  // namespace analysis

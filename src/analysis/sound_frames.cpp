#include "analysis/sound_frames.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

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

std::vector<float> atAnalysisRate(const Sound& sound) {
  std::vector<float> in(sound.samples.size());
  for (size_t i = 0; i < in.size(); ++i) in[i] = float(sound.samples[i]) / 32768.0f;
  if (sound.rate == kRate || in.empty() || sound.rate <= 0) return in;
  const double ratio = double(kRate) / sound.rate;
  std::vector<float> out(size_t(double(in.size()) * ratio) + 16);
  SRC_DATA data{};
  data.data_in = in.data();
  data.input_frames = long(in.size());
  data.data_out = out.data();
  data.output_frames = long(out.size());
  data.src_ratio = ratio;
  if (src_simple(&data, SRC_SINC_FASTEST, 1) != 0) return {};
  out.resize(size_t(data.output_frames_gen));
  return out;
}

double frameTime(int frame) { return (double(frame) * kHop + kWindow / 2.0) / kRate; }

int frameCount(size_t samples) {
  return samples < size_t(kWindow) ? 0 : int((samples - kWindow) / kHop) + 1;
}

std::vector<float> frameLevels(const std::vector<float>& samples) {
  std::vector<float> levels(size_t(frameCount(samples.size())));
  for (size_t k = 0; k < levels.size(); ++k) {
    double sum = 0;
    for (size_t i = k * kHop; i < k * kHop + kWindow; ++i) sum += double(samples[i]) * samples[i];
    const double rms = std::sqrt(sum / kWindow);
    levels[k] = rms > 0 ? std::max(kFloorDb, float(20 * std::log10(rms))) : kFloorDb;
  }
  return levels;
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

#include "analysis/take_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/alignment.h"
#include "analysis/features.h"
#include "analysis/pitch.h"
#include "analysis/sound_frames.h"
#include "analysis/words.h"

namespace analysis {

namespace {
constexpr int kShortestSpeechFrames = 15;  // 150 ms: less is a cough or a click, not a take
constexpr double kTooLongRatio = 3.0;      // a take this much longer reads more than the sentence
constexpr double kTooLongSeconds = 2.0;    // ... and by at least this much
constexpr float kVoicedBelowLoud = 30;     // dB under the loud level where pitch is still sought
constexpr float kSoundingBelowLoud = 25;   // dB under the loud level that counts as a pause
constexpr float kLoudnessRange = 40;       // dB shown on the loudness trace
// Contour spread (semitones) that costs most of the intonation match.
constexpr double kPitchTolerance = 4.0;
// Spread of the local tempo (natural log) that costs most of the rhythm match.
constexpr double kRhythmTolerance = 0.35;
constexpr int kRhythmSegment = 25;  // 250 ms, about a syllable, of model time

constexpr int kExcerptMargin = 5;  // frames either side of the speech that pitch frames reach into

struct Speaker {
  std::vector<float> levels;
  Span span;
  float loud = 0;
  std::vector<float> semitones, features;
};

Speaker measureLevels(const Sound& sound) {
  Speaker s;
  s.levels = frameLevels(sound);
  s.span = speechSpan(s.levels);
  if (s.span.size() > 0) s.loud = loudLevel(s.levels, s.span);
  return s;
}

// Pitch and features of the speech alone, brought to the analysis rate: the
// silence around it costs nothing.
void measureSpeech(const Sound& sound, Speaker& s) {
  const int first = std::max(0, s.span.first - kExcerptMargin);
  const int last = std::min(int(s.levels.size()), s.span.last + kExcerptMargin);
  const std::vector<float> samples = excerptAtAnalysisRate(sound, first, last);
  const std::vector<float> levels(s.levels.begin() + first, s.levels.begin() + last);
  const Span span{s.span.first - first, s.span.last - first};
  s.semitones = semitonesFromMedian(pitchContour(samples, levels, span, s.loud - kVoicedBelowLoud));
  s.features = speechFeatures(samples, span);
}

float loudnessOf(const Speaker& s, int frameInSpan) {
  const float db = s.levels[size_t(s.span.first + frameInSpan)] - s.loud;
  return std::clamp((db + kLoudnessRange) / kLoudnessRange, 0.0f, 1.0f);
}

// Why no traces can be drawn, or Ready.
Outcome check(const Sound& take, const Speaker& model, const Speaker& learner) {
  if (take.samples.empty()) return Outcome::NoTake;
  if (model.span.size() < kShortestSpeechFrames) return Outcome::SilentModel;
  if (learner.span.size() < kShortestSpeechFrames) return Outcome::SilentTake;
  const double modelSeconds = model.span.size() * kStep, takeSeconds = learner.span.size() * kStep;
  if (takeSeconds > kTooLongRatio * modelSeconds && takeSeconds > modelSeconds + kTooLongSeconds)
    return Outcome::TakeTooLong;
  return Outcome::Ready;
}

// Both traces on the model's frames; the take's point is the one heard there.
void drawTraces(Comparison& c, const Speaker& model, const Speaker& learner, const Alignment& a) {
  const size_t n = size_t(model.span.size());
  c.model.pitch = model.semitones;
  c.model.loudness.resize(n);
  c.take.pitch.resize(n);
  c.take.loudness.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const int j = std::clamp(int(std::lround(a.takeAtModel[i])), 0, learner.span.size() - 1);
    c.model.loudness[i] = loudnessOf(model, int(i));
    c.take.pitch[i] = learner.semitones[size_t(j)];
    c.take.loudness[i] = loudnessOf(learner, j);
  }
}

// Pitch difference over [from, to) model frames where both voice: its root
// mean square (both contours sit on their speaker's median) and its spread
// about its mean; and the share of voiced frames that both voice (1 where
// neither voices: nothing to disagree on).
struct PitchAgreement {
  double distance = 0, spread = 0, overlap = 0;
  int voiced = 0;
};
PitchAgreement pitchAgreement(const Trace& model, const Trace& take, size_t from, size_t to) {
  double sum = 0, squares = 0;
  int both = 0, either = 0;
  for (size_t i = from; i < to; ++i) {
    const bool m = !std::isnan(model.pitch[i]), t = !std::isnan(take.pitch[i]);
    either += m || t;
    if (!(m && t)) continue;
    const double d = double(model.pitch[i]) - take.pitch[i];
    sum += d;
    squares += d * d;
    ++both;
  }
  PitchAgreement a;
  a.voiced = either;
  a.overlap = either > 0 ? double(both) / either : 1.0;
  if (both > 0) {
    a.distance = std::sqrt(squares / both);
    a.spread = std::sqrt(std::max(0.0, squares / both - (sum / both) * (sum / both)));
  }
  return a;
}

int intonationScore(const PitchAgreement& a) {
  if (a.voiced == 0) return 0;  // a whisper against a whisper: no intonation to judge
  const double closeness = std::exp(-std::pow(a.spread / kPitchTolerance, 2));
  return int(std::lround(100 * a.overlap * closeness));
}

// The local tempo (take frames per model frame) of each stretch of model
// time, as a natural log from the take's overall tempo.
double tempoSpread(const std::vector<double>& takeAtModel) {
  const double overall = std::log(std::max(1.0, takeAtModel.back() - takeAtModel.front()) /
                                  std::max<size_t>(1, takeAtModel.size() - 1));
  double squares = 0, frames = 0;
  for (size_t from = 0; from + 1 < takeAtModel.size(); from += kRhythmSegment) {
    const size_t to = std::min(takeAtModel.size() - 1, from + kRhythmSegment);
    const double tempo = std::max(0.25, (takeAtModel[to] - takeAtModel[from]) / double(to - from));
    const double d = std::min(std::log(4.0), std::abs(std::log(tempo) - overall));
    squares += d * d * double(to - from);
    frames += double(to - from);
  }
  return frames > 0 ? std::sqrt(squares / frames) : 0.0;
}

// The word whose pitch and timing part most from the model's.
int mostDepartingWord(const Comparison& c, const std::vector<double>& takeAtModel) {
  const double overall = c.lengthRatio;
  int worst = -1;
  double worstScore = -1;
  for (size_t w = 0; w < c.words.size(); ++w) {
    const auto frameOf = [&](double t) {
      return std::clamp<long>(std::lround((t - c.modelStart) / c.step), 0,
                              long(takeAtModel.size()) - 1);
    };
    const size_t from = size_t(frameOf(c.words[w].start)), to = size_t(frameOf(c.words[w].end));
    if (to <= from) continue;
    const auto pitch = pitchAgreement(c.model, c.take, from, to);
    const double tempo = std::max(0.25, (takeAtModel[to] - takeAtModel[from]) / double(to - from));
    const double timing = std::abs(std::log(tempo / overall)) / kRhythmTolerance;
    // A word said higher or lower throughout departs as much as one bent out of shape.
    const double score = pitch.distance / kPitchTolerance + (1 - pitch.overlap) + timing;
    if (score > worstScore) worstScore = score, worst = int(w);
  }
  return worst;
}

// A word without its punctuation, for the caption.
std::string bareWord(const std::string& word) {
  size_t first = 0, last = word.size();
  const auto isMark = [](char ch) {
    return std::string_view(",.!?;:\"()[]").find(ch) != std::string_view::npos;
  };
  while (first < last && isMark(word[first])) ++first;
  while (last > first && isMark(word[last - 1])) --last;
  return word.substr(first, last - first);
}
}  // namespace

TimeMap::TimeMap(double modelStart, double step, std::vector<double> takeAtModelFrame)
    : modelStart_(modelStart), step_(step), takeAt_(std::move(takeAtModelFrame)) {}

double TimeMap::takeTime(double modelTime) const {
  if (takeAt_.empty()) return modelTime;
  const double at = (modelTime - modelStart_) / step_;
  const double last = double(takeAt_.size() - 1);
  if (at <= 0) return takeAt_.front() + (modelTime - modelStart_);
  if (at >= last) return takeAt_.back() + (at - last) * step_;
  const size_t i = size_t(at);
  const double f = at - double(i);
  return takeAt_[i] + f * (takeAt_[i + 1] - takeAt_[i]);
}

double TimeMap::modelTime(double takeTime) const {
  if (takeAt_.empty()) return takeTime;
  const double modelEnd = modelStart_ + double(takeAt_.size() - 1) * step_;
  if (takeTime <= takeAt_.front()) return modelStart_ - (takeAt_.front() - takeTime);
  if (takeTime >= takeAt_.back()) return modelEnd + (takeTime - takeAt_.back());
  const size_t i =
      size_t(std::upper_bound(takeAt_.begin(), takeAt_.end(), takeTime) - takeAt_.begin());
  const double low = takeAt_[i - 1], high = takeAt_[i];
  const double f = high > low ? (takeTime - low) / (high - low) : 0.0;
  return modelStart_ + (double(i - 1) + f) * step_;
}

std::string Comparison::departingWord() const {
  if (outcome != Outcome::Ready || departWord < 0 || departWord >= int(words.size())) return "";
  return bareWord(words[size_t(departWord)].text);
}

Comparison compare(const Sound& model, const Sound& take, const std::string& sentence) {
  Comparison c;
  Speaker m = measureLevels(model), t = measureLevels(take);
  c.outcome = check(take, m, t);
  if (c.outcome != Outcome::Ready) return c;

  measureSpeech(model, m);
  measureSpeech(take, t);
  const Alignment a = alignFrames(m.features, t.features, kFeatureSize);
  c.step = kStep;
  c.modelStart = frameTime(m.span.first);
  c.modelEnd = frameTime(m.span.last - 1);
  drawTraces(c, m, t, a);

  std::vector<double> takeTimes(a.takeAtModel.size());
  for (size_t i = 0; i < takeTimes.size(); ++i)
    takeTimes[i] = frameTime(t.span.first) + a.takeAtModel[i] * kStep;
  c.timeMap = TimeMap(c.modelStart, c.step, std::move(takeTimes));

  c.words = spreadWords(sentence, m.levels, m.span, m.loud - kSoundingBelowLoud);
  c.lengthRatio = double(t.span.size()) / m.span.size();
  c.intonationMatch = intonationScore(pitchAgreement(c.model, c.take, 0, c.model.pitch.size()));
  c.rhythmMatch =
      int(std::lround(100 * std::exp(-std::pow(tempoSpread(a.takeAtModel) / kRhythmTolerance, 2))));
  c.departWord = mostDepartingWord(c, a.takeAtModel);
  return c;
}

}  // namespace analysis

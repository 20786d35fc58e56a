#pragma once
// The loudness of a recording in 10 ms frames (dB), taken as the audio
// streams by, and the sentence edges found in it: where speech ends before
// a start (LRC), and where an aligned boundary settles in the pause around it.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace bookmaker {

constexpr int kAnalysisRate = 16000;  // the acoustic model's rate
constexpr int kFrame = kAnalysisRate / 100;
constexpr double kMarginS = 0.08;  // a stretch reaches this far into the pause around its speech
constexpr double kSearchS = 0.25;  // how far from an aligned boundary a quiet frame is looked for
constexpr double kWordS = 0.25;    // speech shorter than this is a sound of a word, not a word

struct Span {
  double start, end;  // seconds
};

class Loudness {
 public:
  // Samples at kAnalysisRate, in chunks; finish() when all are in.
  void take(const int16_t* samples, std::size_t count);
  void finish();
  static Loudness of(const std::vector<int16_t>& samples);

  bool loud(long frame) const;
  // A word's fading end: too soft to count as speech, still above the quiet.
  bool aboveFloor(long frame) const;
  long fadeOut(long frame, long limit) const;
  long fadeIn(long frame, long limit) const;
  double seconds() const { return double(levels_.size()) / 100; }
  long frames() const { return long(levels_.size()); }

 private:
  std::vector<double> levels_;
  double power_ = 0;
  int inFrame_ = 0;
  double threshold_ = 0, floor_ = 0;
};

long frameOf(double seconds);
// End (s) of the speech that is loud last in [first, limit), with its fading end.
std::optional<double> lastSpeechEnd(const Loudness& loudness, double first, double limit);
std::optional<double> firstSpeechStart(const Loudness& loudness, double first, double limit);
// For cues that give only a start: the end of speech before each limit plus
// the margin, never past the limit; none where the cue holds no speech.
std::vector<std::optional<double>> endsFromStarts(const Loudness& loudness,
                                                  const std::vector<double>& starts,
                                                  const std::vector<double>& limits);
// Sentence stretches from aligned (first word start, last word end) spans.
std::vector<Span> settleStretches(const Loudness& loudness, const std::vector<Span>& spans);
// Speech of at least `least` seconds outside every stretch; the parts
// between the same two stretches are told as one.
std::vector<Span> unclaimedSpeech(const Loudness& loudness, const std::vector<Span>& stretches,
                                  double least = kWordS);

}  // namespace bookmaker

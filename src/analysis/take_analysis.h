#pragma once
// The learner's take beside the model sentence: pitch and loudness of both on
// the model's time axis, the words of the sentence under the model, three
// figures and the word where the take departs most.
//
// compare() is a pure function over the samples it is given: call it from a
// worker thread with copies of the model stretch and the take, and hand the
// result to the user-interface thread. It shares nothing with other calls but
// FFTW's planner, which it locks, so several may run at once.
#include <cstdint>
#include <string>
#include <vector>

namespace analysis {

// Mono 16-bit samples at their own rate (the engine's take and lesson format).
struct Sound {
  std::vector<int16_t> samples;
  int rate = 44100;
};

enum class Outcome {
  Ready,        // traces and figures below are filled
  NoTake,       // no samples at all: recording never ran or no microphone
  SilentTake,   // the take holds no speech
  TakeTooLong,  // the take's speech is far longer than the sentence
  SilentModel,  // the sentence stretch itself holds no speech
};

// Gives the take time for a model time and back, both in seconds from the
// start of their own sound (the untrimmed take, as it is played back), so a
// mark can follow both traces while either is heard. Outside the speech the
// clocks run side by side at the same speed.
class TimeMap {
 public:
  TimeMap() = default;
  // takeAtModelFrame[i] is the take time heard with model frame i, whose time
  // is modelStart + i * step; it never decreases.
  TimeMap(double modelStart, double step, std::vector<double> takeAtModelFrame);

  double takeTime(double modelTime) const;
  double modelTime(double takeTime) const;
  bool empty() const { return takeAt_.empty(); }

 private:
  double modelStart_ = 0, step_ = 0.01;
  std::vector<double> takeAt_;
};

// One speaker's traces, one point per frame of the model axis.
struct Trace {
  // Semitones from the speaker's own median pitch; NaN where unvoiced (a gap).
  std::vector<float> pitch;
  // 0 (40 dB or more below the speaker's loud level) to 1 (the loud level).
  std::vector<float> loudness;
};

struct WordMark {
  std::string text;
  double start = 0, end = 0;  // seconds on the model axis
};

struct Comparison {
  Outcome outcome = Outcome::NoTake;

  // The model axis: its speech, lead-in and tail trimmed; point i of a trace
  // lies at modelStart + i * step seconds of the model stretch.
  double modelStart = 0, modelEnd = 0, step = 0.01;
  Trace model, take;
  // The sentence's words spread over the model's sounding time by syllable
  // count (no word alignment is available).
  std::vector<WordMark> words;

  // 0 to 100: how closely the take's pitch movement follows the model's.
  int intonationMatch = 0;
  // 0 to 100: how evenly the take's timing follows the model's (a take that
  // is slower or faster throughout keeps the model's rhythm).
  int rhythmMatch = 0;
  // Speech length of the take over that of the model (1.0: the same length).
  double lengthRatio = 0;
  // The word where the take departs most from the model; -1 when none.
  int departWord = -1;

  TimeMap timeMap;

  // The departing word without its punctuation; empty when there is none.
  std::string departingWord() const;
};

Comparison compare(const Sound& model, const Sound& take, const std::string& sentence);

}  // namespace analysis

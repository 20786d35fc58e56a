#pragma once
// Sounds made at test time for the analysis tests: speech from espeak-ng at a
// chosen voice, pitch and speed, and voiced glides of known pitch.
#include <string>
#include <vector>

#include "analysis/take_analysis.h"

namespace analysis_test {

struct Voice {
  std::string name = "en";  // espeak-ng -v
  int pitch = 50;           // -p, 0 to 99
  int speed = 160;          // -s, words per minute
};

// The sentence as espeak-ng speaks it (22050 Hz); empty samples on failure.
analysis::Sound speak(const std::string& text, const Voice& voice);

// The words spoken one by one (word i in voices[i], or the last voice given),
// each trimmed of its silence, joined by `gap` seconds of silence after
// `leadIn` seconds; `starts` gets each word's start in seconds.
analysis::Sound speakWords(const std::vector<std::string>& words, const std::vector<Voice>& voices,
                           double gap, double leadIn, std::vector<double>& starts);

// A voiced sound (harmonics of a falling spectrum) whose pitch moves from
// `fromHz` to `toHz` on a semitone scale, framed by silence.
analysis::Sound glide(double fromHz, double toHz, double seconds, double leadIn, double tail,
                      int rate);

analysis::Sound silence(double seconds, int rate);

// The sound with `seconds` of silence before it.
analysis::Sound delayed(const analysis::Sound& sound, double seconds);

// A sentence that espeak-ng speaks in about 2, 5 or 10 seconds (benchmarks).
const char* sentenceOfAbout(int seconds);

// espeak-ng's 22.05 kHz at the engine's 44.1 kHz (each sample twice).
analysis::Sound atEngineRate(const analysis::Sound& sound);

}  // namespace analysis_test

#pragma once
// A script's lesson audio: espeak-ng speaks each sentence, the sentences are
// joined with silent gaps and the lesson is encoded. Times come from sample
// counts of the joined source; the encoded file is decoded as the player
// decodes it, its shift against the source measured (0 for mp3, whose LAME
// header carries the encoder delay; wmav2 starts a frame late) and every
// stretch checked to hold speech while the gaps stay silent.
#include <string>
#include <vector>

#include "bookmaker/loudness.h"
#include "bookmaker/media.h"

namespace bookmaker {

class Progress;

struct Timing {
  double lead = 0.6;     // silence before the first sentence
  double gap = 1.0;      // silence between sentences
  double margin = 0.08;  // each stretch reaches this far into the silence around it
  double tail = 0.6;     // silence after the last sentence
};

struct LessonAudio {
  std::vector<Span> stretches;
  long offset = 0;  // samples the decoded timeline lags the source
  double duration = 0;
};

LessonAudio makeLessonAudio(const std::vector<std::string>& texts, const std::string& outPath,
                            const std::string& voice, int wordsPerMinute, int kilobits,
                            Progress& progress, const Timing& timing = {});
// Faults of the stretches against the decoded audio, as BookError.
void checkStretches(const Samples& decoded, const std::vector<Span>& stretches,
                    const std::string& where);
Samples silence(double seconds);

}  // namespace bookmaker

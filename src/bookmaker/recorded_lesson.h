#pragma once
// A lesson made from a recording: its stretches come from timed text or from
// aligning a transcript to the speech, and the recording becomes the lesson
// audio (copied as it is when it already has the book's format, else encoded
// once, with the times moved by the encoder's measured shift of the timeline).
// The recording streams through in chunks: memory stays flat however long it is.
#include <string>
#include <vector>

#include "bookmaker/loudness.h"
#include "bookmaker/timed_text.h"

namespace bookmaker {

class Progress;

struct RecordedLesson {
  std::vector<Span> stretches;
  double duration = 0;
};

// Either `transcript` (aligned) or `cues` (timed text; LRC ends are filled in).
RecordedLesson makeRecordedLesson(const std::string& recording, const std::string& outPath,
                                  int kilobits, const std::vector<Sentence>* transcript,
                                  std::vector<Cue>* cues, Progress& progress);

// Rounded outwards to the millisecond, inside the audio, never overlapping.
std::vector<Span> wholeMilliseconds(const std::vector<Span>& stretches, double duration);

}  // namespace bookmaker

#pragma once
// Timed text beside a recording: LRC, SRT and WebVTT. Each cue is one
// sentence record. LRC gives only start times; its ends are found in the
// audio later (the end of speech before the next start).
#include <optional>
#include <string>
#include <vector>

#include "bookmaker/texts.h"

namespace bookmaker {

struct Cue {
  Sentence sentence;
  double start = 0;
  std::optional<double> end;    // none: to be found in the audio
  std::optional<double> limit;  // the end may not pass this (LRC: the next time)
};

struct TimedText {
  std::vector<Cue> cues;
  std::optional<std::string> title;
};

TimedText parseLrc(const std::string& text, const std::string& name, const Tell& tell);
TimedText parseSrt(const std::string& text, const std::string& name, const Tell& tell);
TimedText parseVtt(const std::string& text, const std::string& name, const Tell& tell);
// The reader for a file's extension (".lrc", ".srt", ".vtt"), or null.
using TimedTextReader = TimedText (*)(const std::string&, const std::string&, const Tell&);
TimedTextReader timedTextReader(const std::string& extension);

// Cues that run backwards or overlap, and times beyond the audio, are faults.
void checkCueOrder(const std::vector<Cue>& cues, double duration, const std::string& recording);

}  // namespace bookmaker

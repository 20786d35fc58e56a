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
// ASS/SSA: the Dialogue events of [Events], override tags and drawings
// removed, \N parting the lines (a Chinese line and an English one), or
// English and Chinese in events of two styles.
TimedText parseAss(const std::string& text, const std::string& name, const Tell& tell);

// A cue as timed text gives it, before it becomes a sentence.
struct TextCue {
  double start = 0, end = 0;
  std::vector<std::string> lines;
  std::string where;
};
std::vector<TextCue> srtCues(const std::string& text, const std::string& name);
std::vector<TextCue> vttCues(const std::string& text, const std::string& name);
std::vector<TextCue> assCues(const std::string& text, const std::string& name);
// The lines an ASS event's text shows (override tags and drawings removed).
std::vector<std::string> assLines(const std::string& text);
using TextCueReader = std::vector<TextCue> (*)(const std::string&, const std::string&);
// The cue reader for ".srt", ".vtt", ".ass", ".ssa", or null.
TextCueReader textCueReader(const std::string& extension);
// The lines of a cue that are speech to type: sound descriptions ("[Music]",
// "(laughs)"), music marks and speaker labels ("JOHN:", "- ") removed.
std::vector<std::string> speechLines(const std::vector<std::string>& lines);
// The sentences of cues: cues with no speech left out (told, with their
// count); cues with Chinese alone, and the cues of `chinese` (a second text
// of the same recording), each go with the English cue they overlap most.
TimedText sentencesOf(std::vector<TextCue> cues, const std::vector<TextCue>& chinese,
                      const std::string& name, const Tell& tell);
// The reader for a file's extension (".lrc", ".srt", ".vtt"), or null.
using TimedTextReader = TimedText (*)(const std::string&, const std::string&, const Tell&);
TimedTextReader timedTextReader(const std::string& extension);

// Cues that run backwards or overlap, and times beyond the audio, are faults.
void checkCueOrder(const std::vector<Cue>& cues, double duration, const std::string& recording);

}  // namespace bookmaker

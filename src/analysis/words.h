#pragma once
// The words of the sentence placed on the model's time axis. The player has
// no word alignment, so the words are spread over the model's sounding time
// (its pauses left out) in proportion to their syllable counts.
#include <string>
#include <vector>

#include "analysis/sound_frames.h"
#include "analysis/take_analysis.h"

namespace analysis {

// Syllables of an English word as spelled: vowel groups, less a silent final
// "e"; each digit counts one. 0 for a token without letters or digits.
int syllableCount(const std::string& word);

// The sentence's words (tokens between blanks that hold a letter or digit).
std::vector<std::string> sentenceWords(const std::string& sentence);

// Frames of `span` louder than `soundingLevel` carry the words.
std::vector<WordMark> spreadWords(const std::string& sentence, const std::vector<float>& levels,
                                  Span span, float soundingLevel);

}  // namespace analysis

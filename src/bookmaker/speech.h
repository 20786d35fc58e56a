#pragma once
// espeak-ng's library: sentences spoken (mono 16-bit at kSpeechRate, its own
// rate) and words read out as IPA.
#include <string>

#include "bookmaker/media.h"

namespace bookmaker {

constexpr int kSpeechRate = 22050;

// The sentence spoken, without espeak-ng's own silence before and after.
// Throws BookError when it says nothing.
Samples speak(const std::string& text, const std::string& voice, int wordsPerMinute);
// The sentence spoken as espeak-ng gives it, silence included.
Samples speakRaw(const std::string& text, const std::string& voice, int wordsPerMinute);
// espeak-ng's IPA reading of a word (US English).
std::string ipaOf(const std::string& word);

}  // namespace bookmaker

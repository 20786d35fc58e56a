#pragma once
// The letter check of the dictation test and the texts of its score messages.
#include <string>
#include <string_view>

namespace dictation {

// The outcome of one check. Positions and lengths count characters as the
// answer box does (UTF-16 units: a character beyond the basic plane is two).
struct LetterCheck {
  bool right = false;  // the answer's letters a to z are the sentence's
  int selStart = 0;    // the first wrong character, or the end of the answer
  int selLength = 0;   // that character's length, 0 when the walk reached the end
};

// Walks the answer character by character, comparing its letters a to z (in
// lower case) with the sentence's at the same position; the walk stops at the
// first letter that differs or that goes beyond the sentence's letters.
LetterCheck checkLetters(std::string_view sentence, std::string_view answer);

// What a sentence's score of 100 loses for each error, hint and replay.
inline constexpr int kErrorCost = 10, kHintCost = 20, kReplayCost = 5;

// The score messages: the score between the two texts, then the scoring rule.
enum class Verdict { Fail, Pass, LessonPass };
std::string scoreMessage(Verdict verdict, long long score);

}  // namespace dictation

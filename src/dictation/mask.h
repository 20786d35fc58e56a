#pragma once
// The masked sentence and the letter sequences of the dictation test.
#include <string>
#include <string_view>

namespace dictation {

// Every letter a to z, either case, becomes "_"; every other character stays.
std::string maskSentence(std::string_view english);
// The letters a to z of a text, in lower case, in order.
std::string letterSequence(std::string_view text);

}  // namespace dictation

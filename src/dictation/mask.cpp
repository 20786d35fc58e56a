#include "dictation/mask.h"

namespace dictation {

namespace {
// Bytes of multi-byte UTF-8 characters are above 127, so byte-wise tests see
// only the basic Latin letters.
bool isLetter(char c) {
  char l = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return l >= 'a' && l <= 'z';
}
char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
}  // namespace

std::string maskSentence(std::string_view english) {
  std::string mask;
  mask.reserve(english.size());
  for (char c : english) mask += isLetter(c) ? '_' : c;
  return mask;
}

std::string letterSequence(std::string_view text) {
  std::string letters;
  for (char c : text)
    if (isLetter(c)) letters += lower(c);
  return letters;
}

}  // namespace dictation

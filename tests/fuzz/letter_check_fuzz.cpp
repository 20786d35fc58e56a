// The mask and the letter check on any sentence and answer (the input cut at
// its first zero byte): the mask hides exactly the letters a to z; the check
// says right exactly when the two letter sequences are the same, and what it
// selects lies inside the answer.
#include <string>

#include "dictation/answer_check.h"
#include "dictation/mask.h"
#include "fuzz/fuzz_check.h"
#include "text/utf8_check.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Length as the answer box counts it: UTF-16 units.
int utf16Units(std::string_view utf8) {
  int units = 0;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    units += (b & 0xC0) != 0x80 ? (b >= 0xF0 ? 2 : 1) : 0;
  }
  return units;
}

void checkMask(std::string_view sentence) {
  const std::string mask = dictation::maskSentence(sentence);
  FUZZ_CHECK(mask.size() == sentence.size());
  std::string letters;
  for (std::size_t i = 0; i < sentence.size(); ++i) {
    FUZZ_CHECK(mask[i] == (isLetter(sentence[i]) ? '_' : sentence[i]));
    if (isLetter(sentence[i])) letters += static_cast<char>(sentence[i] | 0x20);
  }
  FUZZ_CHECK(dictation::letterSequence(sentence) == letters);
  FUZZ_CHECK(dictation::letterSequence(mask).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::bytesOf(data, size);
  const std::size_t cut = input.find('\0');
  const std::string_view sentence = input.substr(0, cut);
  const std::string_view answer =
      cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  checkMask(sentence);
  checkMask(answer);

  const dictation::LetterCheck check = dictation::checkLetters(sentence, answer);
  FUZZ_CHECK(check.right ==
             (dictation::letterSequence(answer) == dictation::letterSequence(sentence)));
  FUZZ_CHECK(check.selStart >= 0 && check.selLength >= 0 && check.selLength <= 2);
  if (check.right) FUZZ_CHECK(check.selLength == 0);
  if (utf8_check::wellFormed(answer)) {
    const int units = utf16Units(answer);
    FUZZ_CHECK(check.selStart + check.selLength <= units);
    if (check.selLength == 0) FUZZ_CHECK(check.selStart == units);
  }
  // The right answer is right, whatever else it holds.
  FUZZ_CHECK(dictation::checkLetters(sentence, dictation::letterSequence(sentence)).right);
  return 0;
}

// The letter check of the dictation test and the texts of its score messages:
// no window, so the review page checks an answer as the dictation page does.
#include "app/numeric.h"
#include "dictation/answer_check.h"
#include "dictation/mask.h"
#include "messages/messages.h"

namespace dictation {

namespace {

// Bytes of the UTF-8 character at the start of rest: the lead byte and the
// continuation bytes that follow it, at most as many as it announces. A
// sequence cut short is one character (the answer box shows one U+FFFD for
// it), and a byte that is no continuation never belongs to the character
// before it, so a stray lead byte never swallows the letters after it.
size_t charBytes(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  const size_t length = lead >= 0xF0 && lead <= 0xF7 ? 4
                        : lead >= 0xE0               ? (lead <= 0xEF ? 3 : 1)
                        : lead >= 0xC0               ? 2
                                                     : 1;
  size_t bytes = 1;
  while (bytes < length && bytes < rest.size() &&
         (static_cast<unsigned char>(rest[bytes]) & 0xC0) == 0x80)
    ++bytes;
  return bytes;
}

}  // namespace

LetterCheck checkLetters(std::string_view sentence, std::string_view answer) {
  const std::string expected = letterSequence(sentence);
  size_t letters = 0;  // letters of the answer so far
  int position = 0;    // in UTF-16 units, as the answer box counts
  for (size_t i = 0; i < answer.size();) {
    const size_t bytes = charBytes(answer.substr(i));
    const int units = bytes == 4 ? 2 : 1;
    const std::string letter = letterSequence(answer.substr(i, bytes));
    if (!letter.empty()) {
      if (letters >= expected.size() || expected[letters] != letter[0])
        return {false, position, units};
      ++letters;
    }
    i += bytes;
    position += units;
  }
  return {letters == expected.size(), position, 0};
}

std::string scoreMessage(Verdict verdict, long long score) {
  const std::string_view next = verdict == Verdict::Fail   ? messages::kScoreFail
                                : verdict == Verdict::Pass ? messages::kScorePass
                                                           : messages::kScoreLessonPassed;
  return std::string(messages::kSentenceScore) + app::str(score) + std::string(next) + "\r\n\r\n" +
         std::string(messages::kScoreRule);
}

}  // namespace dictation

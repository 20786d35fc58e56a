#pragma once
// What every timed-text reader's fuzz target checks: on any bytes the reader
// either refuses them with a worded fault or gives cues whose fields the
// player can hold (no separator, no control character, a code page 936
// form, English the learner can type) with times that are real numbers.
#include <cmath>
#include <functional>
#include <string>

#include "bookmaker/book_error.h"
#include "bookmaker/texts.h"
#include "bookmaker/timed_text.h"
#include "fuzz/fuzz_check.h"

namespace fuzz {

inline void checkField(const std::string& field) {
  FUZZ_CHECK(field.find_first_of("*#^\\\n\r") == std::string::npos);
  bookmaker::toCp936(field, "field");  // throws (and so fails) when it has no code page 936 form
}

inline void checkTimedText(std::string_view bytes, bookmaker::TimedTextReader read) {
  std::string text;
  try {
    text = bookmaker::decodeText(bytes, "x", std::nullopt);
  } catch (const bookmaker::BookError& error) {
    FUZZ_CHECK(*error.what() != '\0');
    return;
  }
  try {
    const bookmaker::TimedText timed = read(text, "x", [](const std::string&) {});
    for (const bookmaker::Cue& cue : timed.cues) {
      FUZZ_CHECK(std::isfinite(cue.start) && cue.start >= 0);
      FUZZ_CHECK(!cue.end || std::isfinite(*cue.end));
      FUZZ_CHECK(!cue.sentence.english.empty());
      for (const char c : cue.sentence.english) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20);
      checkField(cue.sentence.english);
      checkField(cue.sentence.chinese);
      checkField(cue.sentence.note);
    }
  } catch (const bookmaker::BookError& error) {
    FUZZ_CHECK(std::string(error.what()).starts_with("x"));  // names the file (and line)
  }
}

}  // namespace fuzz

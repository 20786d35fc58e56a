#pragma once
// Lesson scripts and transcripts: the plain text files a teacher writes, one
// per lesson. The first line that is neither blank nor a "#" comment is the
// lesson title; every later one is a sentence "English | 中文 | note".
#include <string>
#include <vector>

#include "bookmaker/texts.h"

namespace bookmaker {

struct Script {
  std::string title;
  std::vector<Sentence> sentences;
};

Script parseScript(const std::string& text, const std::string& source, const Tell& tell);
// Passing a lesson marks every results entry that starts with its title, so
// no title may be the beginning of another. Throws BookError.
void checkTitles(const std::vector<std::string>& titles);

}  // namespace bookmaker

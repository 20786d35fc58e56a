#include "analysis/words.h"

#include <sstream>

namespace analysis {

namespace {
bool isVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
}  // namespace

int syllableCount(const std::string& word) {
  std::string letters;
  int digits = 0;
  for (char c : word) {
    const char l = lower(c);
    if (l >= 'a' && l <= 'z') letters += l;
    if (c >= '0' && c <= '9') ++digits;
  }
  int groups = 0;
  for (size_t i = 0; i < letters.size(); ++i)
    if (isVowel(letters[i]) && (i == 0 || !isVowel(letters[i - 1]))) ++groups;
  const size_t n = letters.size();
  const bool silentE = n > 2 && letters[n - 1] == 'e' && !isVowel(letters[n - 2]) &&
                       !(letters[n - 2] == 'l' && !isVowel(letters[n - 3]));
  if (silentE && groups > 1) --groups;
  if (!letters.empty() && groups == 0) groups = 1;
  return groups + digits;
}

std::vector<std::string> sentenceWords(const std::string& sentence) {
  std::vector<std::string> words;
  std::istringstream in(sentence);
  for (std::string token; in >> token;)
    if (syllableCount(token) > 0) words.push_back(token);
  return words;
}

std::vector<WordMark> spreadWords(const std::string& sentence, const std::vector<float>& levels,
                                  Span span, float soundingLevel) {
  const auto words = sentenceWords(sentence);
  int totalSyllables = 0;
  for (const auto& w : words) totalSyllables += syllableCount(w);
  std::vector<int> sounding;  // the span's sounding frames, in order
  for (int k = span.first; k < span.last; ++k)
    if (levels[size_t(k)] >= soundingLevel) sounding.push_back(k);
  if (words.empty() || sounding.empty()) return {};

  std::vector<WordMark> marks;
  int syllablesBefore = 0;
  for (const auto& w : words) {
    const int count = syllableCount(w);
    const size_t first = size_t(double(syllablesBefore) / totalSyllables * double(sounding.size()));
    syllablesBefore += count;
    size_t last = size_t(double(syllablesBefore) / totalSyllables * double(sounding.size()));
    last = std::max(first + 1, std::min(last, sounding.size()));
    const int lastFrame = sounding[last - 1];
    marks.push_back({w, frameTime(sounding[std::min(first, sounding.size() - 1)]) - kStep / 2,
                     frameTime(lastFrame) + kStep / 2});
  }
  return marks;
}

}  // namespace analysis

#include "analysis/words.h"

#include <sstream>

namespace analysis {

namespace {
bool isVowel(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
constexpr int kPauseReach = 12;  // frames (120 ms) a word boundary may move to meet a pause
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
  // "closed", "lived": the "e" of "-ed" is silent but after "t" or "d" ("wanted").
  const bool silentEd = n > 3 && letters[n - 2] == 'e' && letters[n - 1] == 'd' &&
                        !isVowel(letters[n - 3]) && letters[n - 3] != 't' && letters[n - 3] != 'd';
  if ((silentE || silentEd) && groups > 1) --groups;
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
  const auto sounds = [&](int k) { return levels[size_t(k)] >= soundingLevel; };
  std::vector<int> sounding;  // the span's sounding frames, in order
  for (int k = span.first; k < span.last; ++k)
    if (sounds(k)) sounding.push_back(k);
  if (words.empty() || sounding.empty()) return {};
  int totalSyllables = 0;
  for (const auto& w : words) totalSyllables += syllableCount(w);

  // Word w holds the frames [cut[w], cut[w + 1]); a cut in a pause's reach
  // moves into the pause, where words part more often than not.
  std::vector<int> cut{sounding.front()};
  int syllablesBefore = 0;
  for (size_t w = 0; w + 1 < words.size(); ++w) {
    syllablesBefore += syllableCount(words[w]);
    const size_t share = size_t(double(syllablesBefore) / totalSyllables * double(sounding.size()));
    int at = sounding[std::min(share, sounding.size() - 1)];
    for (int d = 0; d <= kPauseReach; ++d) {
      if (at - d > cut.back() && !sounds(at - d))
        at = at - d + 1;
      else if (at + d < span.last && !sounds(at + d))
        at = at + d;
      else
        continue;
      break;
    }
    cut.push_back(std::max(at, cut.back() + 1));
  }
  cut.push_back(sounding.back() + 1);

  // Each word's mark runs from its first sounding frame to its last.
  std::vector<WordMark> marks;
  for (size_t w = 0; w < words.size(); ++w) {
    int first = cut[w], last = std::max(cut[w], cut[w + 1] - 1);
    while (first < last && !sounds(first)) ++first;
    while (last > first && !sounds(last)) --last;
    marks.push_back({words[w], frameTime(first) - kStep / 2, frameTime(last) + kStep / 2});
  }
  return marks;
}

}  // namespace analysis

#include "bookmaker/lesson_audio.h"

#include <cmath>
#include <cstdio>

#include "bookmaker/book_error.h"
#include "bookmaker/progress.h"
#include "bookmaker/speech.h"

namespace bookmaker {

namespace {

constexpr long kWindow = kSpeechRate / 100;  // 10 ms analysis windows
constexpr double kSilentRms = 60;            // a window below this is silence (about -55 dBFS)
constexpr double kSpeechRms = 600;           // a stretch's RMS is at least this

double rms(const Samples& s, long first, long last) {
  if (last <= first) return 0;
  double sum = 0;
  for (long k = first; k < last; ++k) sum += double(s[std::size_t(k)]) * s[std::size_t(k)];
  return std::sqrt(sum / double(last - first));
}

// The longest run of silent 10 ms windows in [first, last), in samples.
long longestSilence(const Samples& s, long first, long last) {
  long longest = 0, run = 0;
  for (long k = first; k < last; k += kWindow) {
    const long end = std::min(k + kWindow, last);
    if (rms(s, k, end) < kSilentRms) {
      run += end - k;
      longest = std::max(longest, run);
    } else {
      run = 0;
    }
  }
  return longest;
}

bool isSilent(const Samples& s, long first, long last) {
  return longestSilence(s, first, last) >= last - first;
}

std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

Samples silence(double seconds) {
  return Samples(std::size_t(std::nearbyint(seconds * kSpeechRate)), 0);
}

void checkStretches(const Samples& decoded, const std::vector<Span>& stretches,
                    const std::string& where) {
  const long maxPause = long(std::nearbyint(0.6 * kSpeechRate)),
             edge = long(std::nearbyint(0.03 * kSpeechRate));
  const long length = long(decoded.size());
  long previousEnd = 0;
  int number = 0;
  for (const Span& s : stretches) {
    const std::string sentence = where + " sentence " + std::to_string(++number);
    const long first = long(std::nearbyint(s.start * kSpeechRate)),
               last = long(std::nearbyint(s.end * kSpeechRate));
    if (!(previousEnd <= first && first < last && last <= length))
      throw BookError(sentence + ": stretch " + seconds(s.start) + "-" + seconds(s.end) +
                      " out of order or range");
    if (!isSilent(decoded, previousEnd, first))
      throw BookError(sentence + ": speech before its stretch");
    if (rms(decoded, first, last) < kSpeechRms)
      throw BookError(sentence + ": the stretch holds no speech");
    if (!isSilent(decoded, first, first + edge) || !isSilent(decoded, last - edge, last))
      throw BookError(sentence + ": the stretch cuts into speech");
    if (longestSilence(decoded, first, last) > maxPause)
      throw BookError(sentence + ": the stretch holds more than one sentence");
    previousEnd = last;
  }
  if (!isSilent(decoded, previousEnd, length))
    throw BookError(where + ": speech after the last stretch");
}

LessonAudio makeLessonAudio(const std::vector<std::string>& texts, const std::string& outPath,
                            const std::string& voice, int wordsPerMinute, int kilobits,
                            Progress& progress, const Timing& timing) {
  progress.stage(Stage::Speaking);
  Samples source = silence(timing.lead);
  std::vector<std::pair<long, long>> spans;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const Samples speech = speak(texts[k], voice, wordsPerMinute);
    if (k) {
      const Samples gap = silence(timing.gap);
      source.insert(source.end(), gap.begin(), gap.end());
    }
    spans.push_back({long(source.size()), long(source.size() + speech.size())});
    source.insert(source.end(), speech.begin(), speech.end());
    progress.advance(double(k + 1) / double(texts.size()));
  }
  const Samples tail = silence(timing.tail);
  source.insert(source.end(), tail.begin(), tail.end());

  progress.stage(Stage::Encoding);
  {
    const auto encoder = makeEncoder(outPath, kSpeechRate, kilobits);
    encoder->write(source.data(), source.size());
    encoder->finish();
  }
  progress.stage(Stage::Checking);
  const Samples decoded = decodeWhole(outPath, kSpeechRate);
  LessonAudio made;
  made.offset = measureOffset(Window{0, source}, Window{0, decoded}, spans.front().first);
  const double margin = timing.margin * kSpeechRate;
  // Whole milliseconds, rounded outwards so no sample of speech is lost.
  for (const auto& [first, last] : spans)
    made.stretches.push_back(
        {std::max(0.0,
                  std::floor((double(first) - margin + double(made.offset)) * 1000 / kSpeechRate)) /
             1000,
         std::ceil((double(last) + margin + double(made.offset)) * 1000 / kSpeechRate) / 1000});
  const std::string name = outPath.substr(outPath.find_last_of('/') + 1);
  checkStretches(decoded, made.stretches, name);
  made.duration = double(decoded.size()) / kSpeechRate;
  return made;
}

}  // namespace bookmaker

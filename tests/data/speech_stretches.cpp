#include "speech_stretches.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace course {

namespace {
constexpr size_t kWindow = kCheckRate / 100;    // 10 ms
constexpr double kSilentRms = 60;               // about -55 dBFS: the gaps are near digital silence
constexpr double kSpeechRms = 600;              // spoken English sits far above this
constexpr size_t kEdge = kCheckRate * 3 / 100;  // a stretch begins and ends in 30 ms of silence
constexpr size_t kLongestPause = kCheckRate * 6 / 10;  // a pause inside one sentence is shorter

double rms(const std::vector<int16_t>& s, size_t first, size_t last) {
  if (last <= first) return 0;
  double sum = 0;
  for (size_t i = first; i < last; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(last - first));
}

// The longest run of silent 10 ms windows in [first, last), in samples.
size_t longestSilence(const std::vector<int16_t>& s, size_t first, size_t last) {
  size_t longest = 0, run = 0;
  for (size_t at = first; at < last; at += kWindow) {
    size_t end = std::min(at + kWindow, last);
    if (rms(s, at, end) < kSilentRms) {
      run += end - at;
      longest = std::max(longest, run);
    } else {
      run = 0;
    }
  }
  return longest;
}

bool silent(const std::vector<int16_t>& s, size_t first, size_t last) {
  return last <= first || longestSilence(s, first, last) >= last - first;
}
}  // namespace

std::optional<std::vector<int16_t>> decodeAudio(const std::string& path) {
  const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -f s16le -ac 1 -ar " +
                              std::to_string(kCheckRate) + " -";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::vector<int16_t> samples;
  int16_t buffer[8192];
  for (size_t got; (got = fread(buffer, sizeof(int16_t), 8192, pipe)) > 0;) {
    samples.insert(samples.end(), buffer, buffer + got);
  }
  if (pclose(pipe) != 0 || samples.empty()) return std::nullopt;
  return samples;
}

std::vector<std::string> stretchFaults(const std::vector<int16_t>& samples,
                                       const std::vector<Stretch>& stretches) {
  std::vector<std::string> faults;
  size_t previousEnd = 0;
  for (size_t i = 0; i < stretches.size(); ++i) {
    const std::string name = "sentence " + std::to_string(i + 1) + ": ";
    const double startSample = stretches[i].start * kCheckRate,
                 endSample = stretches[i].end * kCheckRate;
    if (!(startSample >= double(previousEnd) && endSample > startSample &&
          endSample <= double(samples.size()))) {
      faults.push_back(name + "stretch out of order or beyond the end of the audio");
      continue;
    }
    const size_t first = size_t(std::lround(startSample)), last = size_t(std::lround(endSample));
    if (!silent(samples, previousEnd, first)) faults.push_back(name + "speech before its stretch");
    if (rms(samples, first, last) < kSpeechRms)
      faults.push_back(name + "the stretch holds no speech");
    if (last - first <= 2 * kEdge || !silent(samples, first, first + kEdge) ||
        !silent(samples, last - kEdge, last)) {
      faults.push_back(name + "the stretch cuts into speech at its start or end");
    }
    if (longestSilence(samples, first, last) > kLongestPause) {
      faults.push_back(name + "the stretch holds more than one sentence");
    }
    previousEnd = last;
  }
  if (!silent(samples, previousEnd, samples.size()))
    faults.push_back("speech after the last stretch");
  return faults;
}

}  // namespace course

#pragma once
// Checks that the sentence stretches of a lesson fit its audio: each stretch
// holds one spoken sentence whole, and no speech lies outside the stretches.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace course {

constexpr int kCheckRate = 22050;

// The file decoded by the ffmpeg command to mono 16-bit at kCheckRate.
std::optional<std::vector<int16_t>> decodeAudio(const std::string& path);

struct Stretch {
  double start, end;  // seconds
};
// One line per fault found, naming the sentence (1-based); empty when all fit.
std::vector<std::string> stretchFaults(const std::vector<int16_t>& samples,
                                       const std::vector<Stretch>& stretches);

}  // namespace course

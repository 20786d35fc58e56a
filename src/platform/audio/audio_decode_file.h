#pragma once
// A whole sound file, or a stretch of it, decoded to mono int16 at the mixing
// rate.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::audio {

std::optional<std::vector<int16_t>> decodeWholeFile(const std::string& path);

// The samples from `fromSeconds` up to `toSeconds` (fewer where the file ends
// first); none for a missing or undecodable file. Any thread.
std::vector<int16_t> decodeStretch(const std::string& path, double fromSeconds, double toSeconds);

}  // namespace platform::audio

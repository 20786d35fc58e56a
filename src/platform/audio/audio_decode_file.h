#pragma once
// A whole sound file decoded to mono int16 at the mixing rate.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::audio {

std::optional<std::vector<int16_t>> decodeWholeFile(const std::string& path);

}  // namespace platform::audio

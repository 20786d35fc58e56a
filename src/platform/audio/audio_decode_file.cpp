#include "platform/audio/audio_decode_file.h"

#include <algorithm>
#include <limits>

#include "platform/audio/audio_format.h"
#include "platform/audio/audio_lesson_source.h"

namespace platform::audio {
namespace {

// Reads from the source's start frame until `frames` samples are there or
// the file ends, walking the file further as decoding reaches its end.
void readUpTo(LessonSource& source, std::vector<int16_t>& samples, int64_t frames) {
  while (static_cast<int64_t>(samples.size()) < frames) {
    const LessonSource::Read r = source.read(samples);
    if (r == LessonSource::Read::End) return;
    if (r == LessonSource::Read::NeedIndex) source.indexMore(1 << 20);
  }
}

}  // namespace

std::optional<std::vector<int16_t>> decodeWholeFile(const std::string& path) {
  LessonSource source;
  if (!source.open(path)) return std::nullopt;
  std::vector<int16_t> samples;
  source.startAt(0);
  readUpTo(source, samples, std::numeric_limits<int64_t>::max());
  if (samples.empty()) return std::nullopt;
  return samples;
}

std::vector<int16_t> decodeStretch(const std::string& path, double fromSeconds, double toSeconds) {
  std::vector<int16_t> samples;
  const int64_t first = frameAtOrAfter(std::max(0.0, fromSeconds));
  const int64_t frames = frameAtOrAfter(toSeconds) - first;
  LessonSource source;
  if (frames <= 0 || !source.open(path)) return samples;
  source.startAt(first);
  readUpTo(source, samples, frames);
  if (static_cast<int64_t>(samples.size()) > frames) samples.resize(static_cast<size_t>(frames));
  return samples;
}

}  // namespace platform::audio

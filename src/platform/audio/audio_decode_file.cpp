#include "platform/audio/audio_decode_file.h"

#include <algorithm>

#include "platform/audio/audio_format.h"
#include "platform/audio/audio_lesson_source.h"

namespace platform::audio {
namespace {

// Reads from the source's start frame until `frames` samples are there or
// the file ends, indexing packets as decoding reaches them.
void readUpTo(LessonSource& source, std::vector<int16_t>& samples, int64_t frames) {
  while (static_cast<int64_t>(samples.size()) < frames) {
    const LessonSource::Read r = source.read(samples);
    if (r == LessonSource::Read::End) return;
    if (r == LessonSource::Read::NeedIndex) {
      if (source.indexComplete()) return;
      source.indexMore(256);
    }
  }
}

}  // namespace

std::optional<std::vector<int16_t>> decodeWholeFile(const std::string& path) {
  LessonSource source;
  if (!source.open(path)) return std::nullopt;
  while (!source.indexComplete()) source.indexMore(1024);
  if (source.totalFrames() == 0) return std::nullopt;
  std::vector<int16_t> samples;
  source.startAt(0);
  while (source.read(samples) == LessonSource::Read::Samples) {
  }
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

#include "platform/audio/audio_decode_file.h"

#include "platform/audio/audio_lesson_source.h"

namespace platform::audio {

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

}  // namespace platform::audio

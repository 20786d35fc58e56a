#include "platform/audio/audio_decode_file.h"

#include "platform/audio/audio_lesson_source.h"

namespace platform::audio {

std::optional<std::vector<int16_t>> decodeWholeFile(const std::string& path) {
  LessonSource source;
  if (!source.open(path)) return std::nullopt;
  std::vector<int16_t> samples;
  source.startAt(0);
  for (;;) {
    const LessonSource::Read r = source.read(samples);
    if (r == LessonSource::Read::End) break;
    if (r == LessonSource::Read::NeedIndex) source.indexMore(1 << 20);
  }
  if (samples.empty()) return std::nullopt;
  return samples;
}

}  // namespace platform::audio

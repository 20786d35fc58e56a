// Effect sounds: decoded once per file version and kept, so the callback can
// go on reading a clip while the next one is chosen.
#include "platform/audio/audio_sounds.h"

#include <filesystem>
#include <map>
#include <memory>

#include "platform/audio/audio_decode_file.h"

namespace platform::audio {

EffectPlayer::EffectPlayer(std::shared_ptr<Core> core)
    : core_(std::move(core)), voice_(std::make_unique<EffectVoice>()) {
  core_->mixer.attach(voice_.get());
}

EffectPlayer::~EffectPlayer() { core_->mixer.detach(voice_.get()); }

void EffectPlayer::play(const std::string& wavPath) {
  voice_->start(clipFor(wavPath));
  core_->wake();
}

const EffectClip* EffectPlayer::clipFor(const std::string& path) {
  std::error_code ec;
  const auto stamp = std::filesystem::last_write_time(path, ec);
  if (ec) return nullptr;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return nullptr;
  Key key{path, stamp.time_since_epoch().count(), size};
  auto found = clips_.find(key);
  if (found != clips_.end()) return found->second.get();
  // A broken file is remembered as silence until it changes.
  std::unique_ptr<EffectClip> clip;
  if (auto samples = decodeWholeFile(path)) {
    clip = std::make_unique<EffectClip>();
    clip->samples = std::move(*samples);
  }
  return clips_.emplace(std::move(key), std::move(clip)).first->second.get();
}

}  // namespace platform::audio

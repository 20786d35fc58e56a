#include "platform/audio/audio_engine.h"

#include "platform/audio/audio_core.h"
#include "platform/audio/audio_media_player.h"
#include "platform/audio/audio_sounds.h"
#include "platform/audio/audio_wave_device.h"

namespace platform {

struct AudioEngine::Impl {
  std::shared_ptr<audio::Core> core = std::make_shared<audio::Core>();
};

AudioEngine::AudioEngine() : impl_(std::make_unique<Impl>()) {}
AudioEngine::~AudioEngine() = default;

bool AudioEngine::outputAvailable() const { return impl_->core->outputAvailable(); }
bool AudioEngine::inputAvailable() const { return impl_->core->inputAvailable(); }

std::unique_ptr<MediaPlayer> AudioEngine::createMediaPlayer() {
  return std::make_unique<audio::LessonPlayer>(impl_->core);
}
std::unique_ptr<WaveDevice> AudioEngine::createWaveDevice() {
  return std::make_unique<audio::Recorder>(impl_->core);
}
std::unique_ptr<Sounds> AudioEngine::createSounds() {
  return std::make_unique<audio::EffectPlayer>(impl_->core);
}

}  // namespace platform

#pragma once
// One sound output shared by the lesson, the learner's take and the effect
// sounds, and one sound input for the recorder.
#include <memory>

#include "platform/media_player.h"
#include "platform/sounds.h"
#include "platform/wave_device.h"

namespace platform {

class AudioEngine {
 public:
  // Opens the default output (SDL_AUDIODRIVER is honoured, so tests use the
  // disk or dummy driver). Without a device the engine runs on a clock: the
  // player's position advances as if it played.
  AudioEngine();
  ~AudioEngine();
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  bool outputAvailable() const;
  bool inputAvailable() const;

  std::unique_ptr<MediaPlayer> createMediaPlayer();
  std::unique_ptr<WaveDevice> createWaveDevice();
  std::unique_ptr<Sounds> createSounds();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform

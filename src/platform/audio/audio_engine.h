#pragma once
// One sound output shared by the lesson, the learner's take and the effect
// sounds, and one sound input for the recorder.
#include <memory>

#include "platform/audio/media_player.h"
#include "platform/audio/sounds.h"
#include "platform/audio/wave_device.h"

namespace platform {

// What the program needs of the audio engine. The program holds it through
// this interface because it loads the engine from a module at run time
// (background_audio.h).
class AudioDevices {
 public:
  virtual ~AudioDevices() = default;
  virtual bool outputAvailable() const = 0;
  virtual bool inputAvailable() const = 0;
  // The players are made on the user-interface thread: their notices arrive there.
  virtual std::unique_ptr<MediaPlayer> createMediaPlayer() = 0;
  virtual std::unique_ptr<WaveDevice> createWaveDevice() = 0;
  virtual std::unique_ptr<Sounds> createSounds() = 0;
};

class AudioEngine : public AudioDevices {
 public:
  // Opens the default output (SDL_AUDIODRIVER is honoured, so tests use the
  // disk or dummy driver). Without a device the engine runs on a clock: the
  // player's position advances as if it played.
  AudioEngine();
  ~AudioEngine() override;
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  bool outputAvailable() const override;
  bool inputAvailable() const override;

  std::unique_ptr<MediaPlayer> createMediaPlayer() override;
  std::unique_ptr<WaveDevice> createWaveDevice() override;
  std::unique_ptr<Sounds> createSounds() override;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform

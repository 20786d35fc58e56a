#pragma once
// The audio engine, opened once the window has shown. Its module brings
// FFmpeg, SDL and SoundTouch with well over a hundred shared libraries of
// their own; loading them takes longer than building the whole window, and
// loading them beside it slows the window down, so the learner first sees the
// window and the sound follows a moment later. The players handed out at once
// take every call: until the engine is there they keep their settings and
// position and hold the calls, which the real players then receive in order.
// Without the module (or without an output device) they stay silent.
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_engine.h"
#include "platform/ui/ui.h"

class QObject;

namespace platform {

class BackgroundAudio {
 public:
  using Open = std::function<AudioDevices*()>;  // runs on the worker thread
  explicit BackgroundAudio(Open open);
  // Loads the engine from the audio module at `path`; null when it cannot.
  static Open fromModule(std::string path);
  ~BackgroundAudio();
  BackgroundAudio(const BackgroundAudio&) = delete;
  BackgroundAudio& operator=(const BackgroundAudio&) = delete;

  // Starts opening once `window` has painted for the first time (or after a
  // short while if it does not paint, as when it starts minimised).
  void openAfterFirstPaint(ui::Window& window);
  void open();  // starts opening now; a second call does nothing

  // On the user-interface thread, once the engine is there (or found missing):
  bool ready() const { return arrived_; }
  bool outputAvailable() const;
  std::function<void()> NoOutput;  // the engine arrived without an output

  std::unique_ptr<MediaPlayer> createMediaPlayer();
  std::unique_ptr<WaveDevice> createWaveDevice();
  std::unique_ptr<Sounds> createSounds();

  // A player waiting for the engine.
  class Waiting {
   public:
    explicit Waiting(BackgroundAudio& audio);
    virtual ~Waiting();
    virtual void attach(AudioDevices* engine) = 0;  // null: no engine

   protected:
    BackgroundAudio& audio_;
  };

 private:
  void arrive();

  Open openEngine_;
  std::unique_ptr<QObject> context_;  // receives the arrival; its end drops it
  std::thread worker_;
  AudioDevices* opened_ = nullptr;  // written by the worker before the arrival
  std::unique_ptr<AudioDevices> engine_;
  bool started_ = false;
  bool arrived_ = false;
  std::vector<Waiting*> waiting_;
};

}  // namespace platform

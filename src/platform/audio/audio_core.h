#pragma once
// The sound devices and the mixer behind them. Shared by the engine and every
// component it made, so SDL stays open until the last of them is gone.
#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/audio/audio_lesson_voice.h"
#include "platform/audio/audio_voices.h"

namespace platform::audio {

class Mixer {
 public:
  // Device callback: the lesson, the take and the effect, summed and clipped.
  void render(int16_t* out, int frames);

  // User-interface thread. Detaching waits until no callback still uses the
  // voice, so the caller may free it afterwards.
  void attach(LessonVoice* v) { lesson_.store(v); }
  void attach(TakeVoice* v) { take_.store(v); }
  void attach(EffectVoice* v) { effect_.store(v); }
  void detach(LessonVoice* v) { detachSlot(lesson_, v); }
  void detach(TakeVoice* v) { detachSlot(take_, v); }
  void detach(EffectVoice* v) { detachSlot(effect_, v); }

  void setRunning(bool on) { running_.store(on); }

 private:
  template <class T>
  void detachSlot(std::atomic<T*>& slot, T* v) {
    T* expected = v;
    slot.compare_exchange_strong(expected, nullptr);
    waitForPassEnd();
  }
  void waitForPassEnd() const;

  std::atomic<LessonVoice*> lesson_{nullptr};
  std::atomic<TakeVoice*> take_{nullptr};
  std::atomic<EffectVoice*> effect_{nullptr};
  std::atomic<uint64_t> passes_{0};  // odd while a callback runs
  std::atomic<bool> running_{false};
};

class Core {
 public:
  Core();
  ~Core();
  Core(const Core&) = delete;
  Core& operator=(const Core&) = delete;

  Mixer mixer;
  bool outputAvailable() const { return output_ != 0; }
  bool inputAvailable() const { return inputAvailable_; }

  // Records the default input into `take` until stopCapture().
  bool startCapture(TakeVoice& take);
  void stopCapture();

 private:
  bool sdl_ = false;
  uint32_t output_ = 0;
  uint32_t capture_ = 0;
  bool inputAvailable_ = false;
  // Without an output device a thread calls the mixer in real time instead, so
  // positions advance as if the lesson were heard.
  std::atomic<bool> clockRunning_{false};
  std::thread clock_;
};

}  // namespace platform::audio

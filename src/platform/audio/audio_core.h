#pragma once
// The sound devices and the mixer behind them. Shared by the engine and every
// component it made, so SDL stays open until the last of them is gone.
//
// Silence costs nothing: the output runs only while a voice has something to
// play. A component that gives a voice work calls Core::wake(); the mixer
// notes when it last had a voice sounding, and once every voice has been
// silent for a while the output is closed (SDL's audio thread, even paused,
// wakes for every buffer) and SDL's audio is shut down with it (its ALSA
// device watcher polls ten times a second). SDL calls are made by one thread
// of the core, the keeper, which sleeps while there is nothing to do; only
// the closing of the output device is handed to a short-lived thread, so a
// recording never waits for it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
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
  // Waits until a pass of the callback that may have begun before the call
  // has ended: every later pass sees what was stored before the call.
  void settle() const;

  // A voice has been given work (any thread but the callback's).
  void wake() { wakes_.fetch_add(1); }
  uint32_t wakes() const { return wakes_.load(); }
  // True once a pass begun after wake `wakesSeen` found every voice silent
  // and none has sounded for `quietNs`.
  bool quiet(uint32_t wakesSeen, int64_t nowNs, int64_t quietNs) const {
    return passWakes_.load() == wakesSeen && nowNs - lastSoundNs_.load() >= quietNs;
  }
  // The keeper: when quiet, from now on every pass hands the device silence
  // and leaves the voices untouched, so nothing a play starts meanwhile is
  // lost in a device being closed; false (and nothing changed) when a wake
  // or a sounding pass came after the quiet was judged.
  bool closeIfQuiet(uint32_t wakesSeen, int64_t nowNs, int64_t quietNs);
  // The keeper, once the closed device is gone: passes mix the voices again.
  void reopen() { closing_.store(false); }

 private:
  template <class T>
  void detachSlot(std::atomic<T*>& slot, T* v) {
    T* expected = v;
    slot.compare_exchange_strong(expected, nullptr);
    settle();
  }

  std::atomic<LessonVoice*> lesson_{nullptr};
  std::atomic<TakeVoice*> take_{nullptr};
  std::atomic<EffectVoice*> effect_{nullptr};
  std::atomic<uint64_t> passes_{0};  // odd while a callback runs
  std::atomic<uint32_t> wakes_{0};
  std::atomic<uint32_t> passWakes_{0};   // wakes_ as the last pass began
  std::atomic<int64_t> lastSoundNs_{0};  // the last pass with a voice sounding
  std::atomic<bool> closing_{false};     // the device is about to close
};

class Core {
 public:
  // How long the output stays open after the last sound: long enough for the
  // pause between two plays of a sentence, and off the whole seconds of the
  // interval choices, so a replay never meets the device being closed.
  static constexpr int64_t kQuietNs = 2'500'000'000;

  Core();
  ~Core();
  Core(const Core&) = delete;
  Core& operator=(const Core&) = delete;

  Mixer mixer;
  bool outputAvailable() const { return outputAvailable_; }
  bool inputAvailable() const { return inputAvailable_; }

  // A voice has been given work: the output runs within a buffer or so.
  void wake();
  // For tests and benchmarks: whether the output (device or clock) runs.
  bool outputRunning() const { return outputRunning_.load(); }

  // Records the default input into `take` until stopCapture(). Both wait
  // for the keeper (not for an output device being closed).
  bool startCapture(TakeVoice& take);
  void stopCapture();

 private:
  enum class CaptureCommand { None, Start, Stop };

  void keep();
  void probe();
  void serveCapture(CaptureCommand command, TakeVoice* take);
  bool startOutput();
  void stopOutput();
  void finishClosing();
  bool holdSdl();
  void releaseSdl();

  // Shared with the keeper, under mutex_.
  std::mutex mutex_;
  std::condition_variable changed_;
  bool quit_ = false;
  bool probed_ = false;
  CaptureCommand capture_ = CaptureCommand::None;
  TakeVoice* captureTake_ = nullptr;
  bool captureStarted_ = false;
  bool outputClosed_ = false;  // the closer has closed the output device

  bool outputAvailable_ = false;  // written once by the probe
  bool inputAvailable_ = false;
  std::atomic<bool> outputRunning_{false};

  // The keeper's own.
  int sdlUsers_ = 0;
  uint32_t outputDevice_ = 0;
  uint32_t captureDevice_ = 0;
  bool clockRunning_ = false;  // without an output device the keeper is the clock
  std::thread closer_;
  std::thread keeper_;
};

}  // namespace platform::audio

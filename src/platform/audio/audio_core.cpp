#include "platform/audio/audio_core.h"

#include <SDL.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>

#include "platform/audio/audio_format.h"

namespace platform::audio {
namespace {

SDL_AudioSpec wantedSpec(SDL_AudioCallback callback, void* userdata) {
  SDL_AudioSpec spec{};
  spec.freq = kRate;
  spec.format = AUDIO_S16SYS;
  spec.channels = 1;
  spec.samples = kPeriodFrames;
  spec.callback = callback;
  spec.userdata = userdata;
  return spec;
}

void outputCallback(void* userdata, Uint8* stream, int len) {
  static_cast<Mixer*>(userdata)->render(reinterpret_cast<int16_t*>(stream),
                                        len / static_cast<int>(sizeof(int16_t)));
}

void captureCallback(void* userdata, Uint8* stream, int len) {
  static_cast<TakeVoice*>(userdata)->capture(reinterpret_cast<const int16_t*>(stream),
                                             len / static_cast<int>(sizeof(int16_t)));
}

uint32_t openDevice(bool capture, SDL_AudioCallback callback, void* userdata) {
  SDL_AudioSpec want = wantedSpec(callback, userdata);
  SDL_AudioSpec have{};
  return SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &want, &have, 0);
}

constexpr auto kPeriod = std::chrono::nanoseconds(1'000'000'000LL * kPeriodFrames / kRate);
// While the output runs, the keeper looks this often whether it has gone quiet.
constexpr auto kQuietCheck = std::chrono::milliseconds(100);

}  // namespace

void Mixer::render(int16_t* out, int frames) {
  passes_.fetch_add(1);
  if (closing_.load()) {
    std::fill(out, out + frames, int16_t{0});
    passes_.fetch_add(1);
    return;
  }
  const uint32_t wakes = wakes_.load();
  const int64_t now = steadyNowNs();
  LessonVoice* lesson = lesson_.load();
  TakeVoice* take = take_.load();
  EffectVoice* effect = effect_.load();
  const auto anySounding = [&] {
    return (lesson && lesson->playing.load()) || (take && take->active()) ||
           (effect && effect->active());
  };
  // Judged before mixing, so the pass that hands over a voice's last sample
  // still counts as sounding.
  bool sounding = anySounding();
  int32_t mix[kPeriodFrames];
  while (frames > 0) {
    const int n = std::min(frames, kPeriodFrames);
    std::fill(mix, mix + n, 0);
    if (lesson) lesson->render(mix, n, now);
    if (take) take->render(mix, n);
    if (effect) effect->render(mix, n);
    for (int i = 0; i < n; ++i) out[i] = clampToInt16(mix[i]);
    out += n;
    frames -= n;
  }
  // And after, so a voice started while the pass ran counts too.
  sounding = sounding || anySounding();
  if (sounding) lastSoundNs_.store(now);
  passWakes_.store(wakes);
  passes_.fetch_add(1);
}

bool Mixer::closeIfQuiet(uint32_t wakesSeen, int64_t nowNs, int64_t quietNs) {
  if (!quiet(wakesSeen, nowNs, quietNs)) return false;
  const int64_t lastSound = lastSoundNs_.load();
  closing_.store(true);
  settle();  // a pass begun before the flag may have mixed a voice just started
  if (wakes_.load() == wakesSeen && lastSoundNs_.load() == lastSound) return true;
  closing_.store(false);
  return false;
}

void Mixer::settle() const {
  const uint64_t seen = passes_.load();
  if ((seen & 1u) == 0) return;
  // A pass in progress always ends: closing a device waits for it too.
  while (passes_.load() == seen) std::this_thread::yield();
}

Core::Core() {
  keeper_ = std::thread([this] { keep(); });
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return probed_; });
}

Core::~Core() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  keeper_.join();
}

void Core::wake() {
  mixer.wake();
  // Taking the lock orders the wake with the keeper's look before it sleeps.
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

bool Core::startCapture(TakeVoice& take) {
  if (!inputAvailable_) return false;
  std::unique_lock lock(mutex_);
  capture_ = CaptureCommand::Start;
  captureTake_ = &take;
  changed_.notify_all();
  changed_.wait(lock, [this] { return capture_ == CaptureCommand::None; });
  return captureStarted_;
}

void Core::stopCapture() {
  std::unique_lock lock(mutex_);
  if (!captureStarted_) return;
  capture_ = CaptureCommand::Stop;
  changed_.notify_all();
  changed_.wait(lock, [this] { return capture_ == CaptureCommand::None; });
}

// The keeper: every SDL call of the engine is made here, so SDL's per-thread
// state lives on one thread, released when it ends.
void Core::keep() {
  pthread_setname_np(pthread_self(), "audio-keeper");
  // SDL's own SIGINT and SIGTERM handlers would swallow the signals the
  // program closes its window on.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  probe();
  uint32_t served = mixer.wakes();  // what came before is served by the probe's output
  auto nextTick = std::chrono::steady_clock::now();
  std::unique_lock lock(mutex_);
  probed_ = true;
  changed_.notify_all();
  const auto request = [this] {
    return quit_ || capture_ != CaptureCommand::None || outputClosed_;
  };
  while (!quit_) {
    if (outputClosed_) {
      lock.unlock();
      finishClosing();
      lock.lock();
      continue;
    }
    if (capture_ != CaptureCommand::None) {
      const CaptureCommand command = capture_;
      TakeVoice* take = captureTake_;
      lock.unlock();
      serveCapture(command, take);
      lock.lock();
      captureStarted_ = captureDevice_ != 0;
      capture_ = CaptureCommand::None;
      changed_.notify_all();
      continue;
    }
    const uint32_t wakes = mixer.wakes();
    const bool running = outputDevice_ != 0 || clockRunning_;
    if (!running && wakes != served) {
      served = wakes;
      lock.unlock();
      startOutput();
      nextTick = std::chrono::steady_clock::now();
      lock.lock();
    } else if (running && mixer.closeIfQuiet(wakes, steadyNowNs(), kQuietNs)) {
      served = wakes;
      lock.unlock();
      stopOutput();
      lock.lock();
    } else if (!running) {
      changed_.wait(lock, [&] { return request() || mixer.wakes() != served; });
    } else if (clockRunning_) {
      // Without a device the keeper is the clock: positions advance as if
      // the lesson were heard.
      if (changed_.wait_until(lock, nextTick, request)) continue;
      lock.unlock();
      int16_t sink[kPeriodFrames];
      mixer.render(sink, kPeriodFrames);
      nextTick += kPeriod;
      lock.lock();
    } else {
      changed_.wait_for(lock, kQuietCheck, request);
    }
  }
  lock.unlock();
  finishClosing();
  stopOutput();
  finishClosing();
  serveCapture(CaptureCommand::Stop, nullptr);
  // SDL keeps its error text per thread and frees it only for its own threads.
  SDL_TLSCleanup();
}

// Opens the output and leaves it running (the start-up sentence usually
// follows at once; the quiet rule closes it otherwise), and sees whether an
// input opens.
void Core::probe() {
  if (!holdSdl()) return;
  outputDevice_ = openDevice(false, outputCallback, &mixer);
  outputAvailable_ = outputDevice_ != 0;
  const SDL_AudioDeviceID in = openDevice(true, captureCallback, nullptr);
  inputAvailable_ = in != 0;
  if (in) SDL_CloseAudioDevice(in);
  if (outputDevice_) {
    SDL_PauseAudioDevice(outputDevice_, 0);
    outputRunning_ = true;
  } else {
    releaseSdl();
  }
}

void Core::serveCapture(CaptureCommand command, TakeVoice* take) {
  if (captureDevice_) {
    SDL_CloseAudioDevice(captureDevice_);  // waits for the capture thread
    captureDevice_ = 0;
    releaseSdl();
  }
  if (command != CaptureCommand::Start || !holdSdl()) return;
  captureDevice_ = openDevice(true, captureCallback, take);
  if (!captureDevice_) {
    releaseSdl();
    return;
  }
  SDL_PauseAudioDevice(captureDevice_, 0);
}

bool Core::startOutput() {
  finishClosing();  // one output device at a time: some cannot be opened twice
  mixer.reopen();
  if (outputAvailable_ && holdSdl()) {
    outputDevice_ = openDevice(false, outputCallback, &mixer);
    if (outputDevice_) {
      SDL_PauseAudioDevice(outputDevice_, 0);
      outputRunning_ = true;
      return true;
    }
    releaseSdl();
  }
  clockRunning_ = true;  // no device (or it went away): run on the clock
  outputRunning_ = true;
  return false;
}

// Closing a device waits for its thread's last buffer and, with some
// drivers, for the sound to drain: tens of milliseconds in which a record
// command would otherwise wait. A thread of its own closes it.
void Core::stopOutput() {
  if (outputDevice_) {
    closer_ = std::thread([this, device = outputDevice_] {
      SDL_CloseAudioDevice(device);  // waits for the callback to return
      SDL_TLSCleanup();
      std::lock_guard lock(mutex_);
      outputClosed_ = true;
      changed_.notify_all();
    });
    outputDevice_ = 0;
  }
  clockRunning_ = false;
  outputRunning_ = false;
}

void Core::finishClosing() {
  if (!closer_.joinable()) return;
  closer_.join();
  {
    std::lock_guard lock(mutex_);
    outputClosed_ = false;
  }
  releaseSdl();
}

bool Core::holdSdl() {
  if (sdlUsers_ == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  ++sdlUsers_;
  return true;
}

void Core::releaseSdl() {
  if (sdlUsers_ > 0 && --sdlUsers_ == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform::audio

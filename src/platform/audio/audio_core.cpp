#include "platform/audio/audio_core.h"

#include <SDL.h>

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

}  // namespace

void Mixer::render(int16_t* out, int frames) {
  passes_.fetch_add(1);
  const int64_t now = steadyNowNs();
  LessonVoice* lesson = lesson_.load();
  TakeVoice* take = take_.load();
  EffectVoice* effect = effect_.load();
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
  passes_.fetch_add(1);
}

void Mixer::waitForPassEnd() const {
  if (!running_.load()) return;
  const uint64_t seen = passes_.load();
  if ((seen & 1u) == 0) return;
  while (passes_.load() == seen && running_.load()) std::this_thread::yield();
}

Core::Core() {
  sdl_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (sdl_) {
    SDL_AudioSpec want = wantedSpec(outputCallback, &mixer);
    SDL_AudioSpec have{};
    output_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    // The capture device is opened for each recording; here only probed.
    SDL_AudioSpec probe = wantedSpec(captureCallback, nullptr);
    const SDL_AudioDeviceID in = SDL_OpenAudioDevice(nullptr, 1, &probe, &have, 0);
    inputAvailable_ = in != 0;
    if (in) SDL_CloseAudioDevice(in);
  }
  mixer.setRunning(true);
  if (output_) {
    SDL_PauseAudioDevice(output_, 0);
    return;
  }
  clockRunning_ = true;
  clock_ = std::thread([this] {
    int16_t sink[kPeriodFrames];
    const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriodFrames / kRate);
    auto next = std::chrono::steady_clock::now();
    while (clockRunning_.load()) {
      mixer.render(sink, kPeriodFrames);
      next += period;
      std::this_thread::sleep_until(next);
    }
  });
}

Core::~Core() {
  stopCapture();
  if (output_) SDL_CloseAudioDevice(output_);
  clockRunning_ = false;
  if (clock_.joinable()) clock_.join();
  mixer.setRunning(false);
  if (sdl_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Core::startCapture(TakeVoice& take) {
  stopCapture();
  if (!inputAvailable_) return false;
  SDL_AudioSpec want = wantedSpec(captureCallback, &take);
  SDL_AudioSpec have{};
  capture_ = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
  if (!capture_) return false;
  SDL_PauseAudioDevice(capture_, 0);
  return true;
}

void Core::stopCapture() {
  if (!capture_) return;
  SDL_CloseAudioDevice(capture_);  // waits for the capture thread
  capture_ = 0;
}

}  // namespace platform::audio

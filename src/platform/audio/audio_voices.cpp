#include "platform/audio/audio_voices.h"

#include <algorithm>

namespace platform::audio {

void TakeVoice::reserve(int64_t frames) {
  if (capacity() < frames) buffer_.assign(static_cast<size_t>(frames), 0);
}

void TakeVoice::startRecording() {
  playing_.store(false);
  recorded_.store(0);
  length_.store(0);
  recording_.store(true);
}

int64_t TakeVoice::stopRecording() {
  recording_.store(false);
  length_.store(recorded_.load());
  return length_.load();
}

void TakeVoice::startPlay(int64_t fromFrame) {
  playing_.store(false);
  playPos_.store(std::clamp<int64_t>(fromFrame, 0, length_.load()));
  playing_.store(true);
}

std::vector<int16_t> TakeVoice::recorded() const {
  const int64_t n = std::min(length_.load(), capacity());
  return std::vector<int16_t>(buffer_.begin(), buffer_.begin() + n);
}

void TakeVoice::capture(const int16_t* in, int frames) {
  if (!recording_.load(std::memory_order_acquire)) return;
  const int64_t at = recorded_.load(std::memory_order_relaxed);
  const int64_t n = std::min<int64_t>(frames, capacity() - at);
  if (n <= 0) return;
  std::copy(in, in + n, buffer_.begin() + at);
  recorded_.store(at + n, std::memory_order_release);
}

void TakeVoice::render(int32_t* mix, int frames) {
  if (!playing_.load(std::memory_order_acquire)) return;
  const int64_t pos = playPos_.load();
  const int64_t n = std::clamp<int64_t>(length_.load() - pos, 0, frames);
  for (int64_t i = 0; i < n; ++i) mix[i] += buffer_[pos + i];
  playPos_.store(pos + n);
  if (n < frames) {
    // The take has been handed over whole: the play has finished.
    bool expected = true;
    if (playing_.compare_exchange_strong(expected, false)) finished_.fetch_add(1);
  }
}

void EffectVoice::start(const EffectClip* clip) {
  requested_.store(clip, std::memory_order_release);
  serial_.fetch_add(1, std::memory_order_release);
}

void EffectVoice::render(int32_t* mix, int frames) {
  const uint32_t serial = serial_.load(std::memory_order_acquire);
  if (serial != seenSerial_) {
    seenSerial_ = serial;
    current_ = requested_.load(std::memory_order_acquire);
    pos_ = 0;
  }
  if (!current_) return;
  const size_t n = std::min<size_t>(frames, current_->samples.size() - pos_);
  for (size_t i = 0; i < n; ++i) mix[i] += current_->samples[pos_ + i];
  pos_ += n;
  if (pos_ >= current_->samples.size()) current_ = nullptr;
}

}  // namespace platform::audio

#include "platform/audio/audio_voices.h"

#include <algorithm>

#include "platform/audio/audio_format.h"

namespace platform::audio {

void TakeVoice::reserve(int64_t frames) {
  if (capacity() < frames) buffer_.assign(static_cast<size_t>(frames), 0);
}

void TakeVoice::command(bool play, int64_t fromFrame) {
  ++lastSerial_;
  if (lastSerial_ == 0) ++lastSerial_;  // 0 names no play
  const uint64_t from = static_cast<uint64_t>(fromFrame) & ((uint64_t{1} << kPlayBit) - 1);
  command_.store(uint64_t{lastSerial_} << 32 | uint64_t{play} << kPlayBit | from);
}

void TakeVoice::startRecording() {
  command(false, 0);
  recording_.store(false);
  recorded_.store(0);
  length_.store(0);
  firstCaptureNs_.store(0);
  recording_.store(true);
}

int64_t TakeVoice::stopRecording() {
  recording_.store(false);
  length_.store(recorded_.load());
  return length_.load();
}

uint32_t TakeVoice::startPlay(int64_t fromFrame) {
  command(true, std::clamp<int64_t>(fromFrame, 0, length_.load()));
  return lastSerial_;
}

void TakeVoice::stopPlay() { command(false, 0); }

void TakeVoice::capture(const int16_t* in, int frames) {
  if (!recording_.load(std::memory_order_acquire)) return;
  if (firstCaptureNs_.load(std::memory_order_relaxed) == 0) firstCaptureNs_.store(steadyNowNs());
  const int64_t at = recorded_.load(std::memory_order_relaxed);
  const int64_t n = std::min<int64_t>(frames, capacity() - at);
  if (n <= 0) return;
  std::copy(in, in + n, buffer_.begin() + at);
  recorded_.store(at + n, std::memory_order_release);
}

bool TakeVoice::active() const {
  return playing_ || static_cast<uint32_t>(command_.load() >> 32) != serial_;
}

void TakeVoice::render(int32_t* mix, int frames) {
  const uint64_t word = command_.load(std::memory_order_acquire);
  const auto serial = static_cast<uint32_t>(word >> 32);
  if (serial != serial_) {
    serial_ = serial;
    playing_ = (word >> kPlayBit & 1u) != 0;
    pos_ = static_cast<int64_t>(word & ((uint64_t{1} << kPlayBit) - 1));
  }
  if (!playing_) return;
  const int64_t n = std::clamp<int64_t>(length_.load() - pos_, 0, frames);
  for (int64_t i = 0; i < n; ++i) mix[i] += buffer_[pos_ + i];
  pos_ += n;
  heard_.store(uint64_t{serial_} << 32 | static_cast<uint64_t>(pos_), std::memory_order_release);
  if (n < frames) {
    // The take has been handed over whole: this play has finished.
    playing_ = false;
    finished_.store(serial_, std::memory_order_release);
  }
}

void EffectVoice::start(const EffectClip* clip) {
  requested_.store(clip, std::memory_order_release);
  serial_.fetch_add(1, std::memory_order_release);
}

bool EffectVoice::active() const {
  return current_ != nullptr || serial_.load(std::memory_order_acquire) != seenSerial_;
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

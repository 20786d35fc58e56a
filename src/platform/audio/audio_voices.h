#pragma once
// The learner's take and the effect sound, as the device callbacks see them.
// The user-interface thread hands them work through atomics only.
#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

namespace platform::audio {

class TakeVoice {
 public:
  // Room for the take, allocated before recording starts and kept, so the
  // capture callback never allocates and the output callback never reads
  // freed memory.
  void reserve(int64_t frames);
  int64_t capacity() const { return static_cast<int64_t>(buffer_.size()); }

  // User-interface thread. A play or a stop is one command word that the
  // output callback takes up whole at its next pass, so a restart can meet
  // the end of the play before it and neither is lost nor mistaken for the
  // other. Wait for Mixer::settle() after startRecording() before capturing.
  void startRecording();                  // the take is emptied and any play stopped
  int64_t stopRecording();                // the take's length
  uint32_t startPlay(int64_t fromFrame);  // returns the play's number
  void stopPlay();
  // The play numbered `play` has handed its last sample to the device.
  bool finished(uint32_t play) const { return play != 0 && finished_.load() == play; }
  // When the capture callback first received samples after startRecording()
  // (steady clock, nanoseconds; 0 before).
  int64_t firstCaptureNs() const { return firstCaptureNs_.load(); }
  // The take as recorded; only while neither recording nor playing.
  std::span<const int16_t> samples() const {
    return {buffer_.data(), static_cast<size_t>(length_.load())};
  }
  // For the mark on the traces: the frame handed to the output last by the
  // play numbered `play`; negative before its first pass.
  int64_t playedFrame(uint32_t play) const {
    const uint64_t heard = heard_.load(std::memory_order_acquire);
    return static_cast<uint32_t>(heard >> 32) == play ? static_cast<int64_t>(heard & 0xffffffffu)
                                                      : -1;
  }

  // Capture callback.
  void capture(const int16_t* in, int frames);
  // Output callback.
  void render(int32_t* mix, int frames);
  bool active() const;

 private:
  static constexpr int kPlayBit = 31;
  void command(bool play, int64_t fromFrame);

  std::vector<int16_t> buffer_;
  std::atomic<bool> recording_{false};
  std::atomic<int64_t> recorded_{0};
  std::atomic<int64_t> length_{0};
  std::atomic<int64_t> firstCaptureNs_{0};
  // Serial in the high half, the play bit, and the start frame.
  std::atomic<uint64_t> command_{0};
  std::atomic<uint32_t> finished_{0};
  std::atomic<uint64_t> heard_{0};  // the play's serial, then its frame handed over last
  uint32_t lastSerial_ = 0;         // user-interface thread
  // Output-callback state.
  uint32_t serial_ = 0;
  bool playing_ = false;
  int64_t pos_ = 0;
};

struct EffectClip {
  std::vector<int16_t> samples;
};

class EffectVoice {
 public:
  // User-interface thread: cuts off what plays and starts `clip` (nullptr:
  // silence). The clip must stay alive while the voice is attached.
  void start(const EffectClip* clip);
  // Output callback.
  void render(int32_t* mix, int frames);
  bool active() const;

 private:
  std::atomic<const EffectClip*> requested_{nullptr};
  std::atomic<uint32_t> serial_{0};
  // Callback-thread state.
  uint32_t seenSerial_ = 0;
  const EffectClip* current_ = nullptr;
  size_t pos_ = 0;
};

}  // namespace platform::audio

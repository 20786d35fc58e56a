#pragma once
// The learner's take and the effect sound, as the device callbacks see them.
// The user-interface thread hands them work through atomics only.
#include <atomic>
#include <cstdint>
#include <vector>

namespace platform::audio {

class TakeVoice {
 public:
  // Room for the take, allocated before recording starts and kept, so the
  // capture callback never allocates and the output callback never reads
  // freed memory.
  void reserve(int64_t frames);
  int64_t capacity() const { return static_cast<int64_t>(buffer_.size()); }

  // User-interface thread.
  void startRecording();    // the take is emptied
  int64_t stopRecording();  // the take's length
  void startPlay(int64_t fromFrame);
  void stopPlay() { playing_.store(false); }
  bool playing() const { return playing_.load(); }
  uint32_t finishedPlays() const { return finished_.load(); }
  // The take as recorded (call after stopRecording) and the frame of it
  // handed to the output last.
  std::vector<int16_t> recorded() const;
  int64_t playFrame() const { return playPos_.load(); }

  // Capture callback.
  void capture(const int16_t* in, int frames);
  // Output callback.
  void render(int32_t* mix, int frames);

 private:
  std::vector<int16_t> buffer_;
  std::atomic<bool> recording_{false};
  std::atomic<int64_t> recorded_{0};
  std::atomic<int64_t> length_{0};
  std::atomic<int64_t> playPos_{0};
  std::atomic<bool> playing_{false};
  std::atomic<uint32_t> finished_{0};
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

 private:
  std::atomic<const EffectClip*> requested_{nullptr};
  std::atomic<uint32_t> serial_{0};
  // Callback-thread state.
  uint32_t seenSerial_ = 0;
  const EffectClip* current_ = nullptr;
  size_t pos_ = 0;
};

}  // namespace platform::audio

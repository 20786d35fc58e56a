#pragma once
// The lesson player behind MediaPlayer. Seeks, rate and guard changes start a
// new generation: the worker produces it, the callback drops older blocks.
#include <memory>
#include <string>

#include "platform/audio/audio_core.h"
#include "platform/audio/audio_lesson_worker.h"
#include "platform/audio/media_player.h"

namespace platform::audio {

class LessonPlayer final : public MediaPlayer {
 public:
  explicit LessonPlayer(std::shared_ptr<Core> core);
  ~LessonPlayer() override;

  void setAutoStart(bool on) override { autoStart_ = on; }
  void setVolume(int volume) override;
  int volume() const override { return volume_; }
  void setRate(double rate) override;
  double rate() const override { return rate_; }
  void setURL(const std::string& path) override;
  std::string URL() const override { return url_; }
  double currentPosition() const override;
  void setCurrentPosition(double seconds) override;
  void play() override;
  void pause() override;
  void setEndGuard(double seconds) override;
  bool holding() const override;
  SoundReader stretchReader(double from, double to) const override;

  // For tests and benchmarks: wait (polling) until the file is opened and the
  // current generation has audio queued, or the file has been indexed whole.
  bool waitReady(double timeoutSeconds) const;
  bool waitIndexed(double timeoutSeconds) const;
  bool fileValid() const { return worker_->fileValid(); }
  double durationSeconds() const;
  int64_t firstSampleNs() const { return voice_->firstSampleNs.load(); }
  size_t storedBytes() const { return worker_->storedBytes(); }

 private:
  bool heldAtEnd() const;
  void restart(double startSeconds);

  std::shared_ptr<Core> core_;
  std::unique_ptr<LessonVoice> voice_;
  std::unique_ptr<LessonWorker> worker_;
  std::string url_;
  bool autoStart_ = true;
  bool playing_ = false;
  int volume_ = 50;
  double rate_ = 1.0;
  double guard_ = -1;
  uint32_t generation_ = 0;
  double anchorSeconds_ = 0;  // the start of the current generation
};

}  // namespace platform::audio

#include "platform/audio/audio_media_player.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/audio/audio_decode_file.h"
#include "platform/audio/audio_format.h"

namespace platform::audio {
namespace {

template <class Done>
bool pollUntil(double timeoutSeconds, Done done) {
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<int64_t>(timeoutSeconds * 1e6));
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

}  // namespace

LessonPlayer::LessonPlayer(std::shared_ptr<Core> core)
    : core_(std::move(core)), voice_(std::make_unique<LessonVoice>()) {
  voice_->gain = volume_ / 100.0f;
  worker_ = std::make_unique<LessonWorker>(*voice_);
  core_->mixer.attach(voice_.get());
}

LessonPlayer::~LessonPlayer() {
  core_->mixer.detach(voice_.get());
  worker_.reset();
}

void LessonPlayer::setVolume(int volume) {
  volume_ = std::clamp(volume, 0, 100);
  voice_->gain = volume_ / 100.0f;
}

void LessonPlayer::setRate(double rate) {
  if (!(rate > 0)) return;
  rate = std::clamp(rate, 0.25, 4.0);
  if (rate == rate_) return;
  const double from = currentPosition();
  rate_ = rate;
  restart(from);
}

void LessonPlayer::setURL(const std::string& path) {
  url_ = path;
  playing_ = false;
  voice_->playing = false;
  guard_ = -1;
  worker_->open(path);
  restart(0);
  if (autoStart_) play();
}

bool LessonPlayer::heldAtEnd() const {
  const HeardSnapshot s = voice_->snapshot();
  if (s.generation != generation_ || !s.held) return false;
  const double elapsed = (steadyNowNs() - s.timeNs) * 1e-9 * kRate;
  return elapsed >= s.frames;
}

double LessonPlayer::currentPosition() const {
  const HeardSnapshot s = voice_->snapshot();
  if (s.generation != generation_) return anchorSeconds_;
  // Within the buffer last handed over, the sample heard now is found by the
  // time since the hand-over.
  const double elapsed = std::max(0.0, (steadyNowNs() - s.timeNs) * 1e-9 * kRate);
  if (s.held && elapsed >= s.frames) return s.holdSeconds;
  if (!s.started) return anchorSeconds_;
  return (s.mediaBegin + std::min<double>(elapsed, s.frames) * s.step) / kRate;
}

void LessonPlayer::setCurrentPosition(double seconds) { restart(std::max(0.0, seconds)); }

void LessonPlayer::play() {
  if (playing_ && heldAtEnd()) restart(currentPosition());  // play on past the end held at
  playing_ = true;
  voice_->playing = true;
  worker_->nudge();  // the queue now drains: the worker refills it
  core_->wake();
}

void LessonPlayer::pause() {
  if (!playing_) return;
  const double at = currentPosition();
  playing_ = false;
  voice_->playing = false;
  // The next play resumes from the sample heard last.
  restart(at);
}

void LessonPlayer::setEndGuard(double seconds) {
  const double guard = seconds < 0 ? -1 : seconds;
  if (guard == guard_) return;
  guard_ = guard;
  // Held at the old end, the new guard waits for the next seek or play.
  if (playing_ && heldAtEnd()) return;
  restart(playing_ ? currentPosition() : anchorSeconds_);
}

bool LessonPlayer::holding() const {
  if (!playing_) return false;
  const bool opened = worker_->openedSerial() == worker_->openSerialRequested();
  return heldAtEnd() || (opened && !worker_->fileValid());
}

void LessonPlayer::restart(double startSeconds) {
  ++generation_;
  anchorSeconds_ = startSeconds;
  voice_->activeGeneration.store(generation_);
  worker_->request(PlayRequest{generation_, startSeconds, rate_, guard_});
  core_->wake();  // the callback drops the blocks made stale, even while paused
}

// The take analysis reads its own copy of the stretch, so the player's
// worker and the device callback are never held up.
SoundReader LessonPlayer::stretchReader(double from, double to) const {
  return [path = url_, from, to] { return SoundSamples{decodeStretch(path, from, to), kRate}; };
}

bool LessonPlayer::waitReady(double timeoutSeconds) const {
  const uint32_t serial = worker_->openSerialRequested();
  return pollUntil(timeoutSeconds, [&] {
    return worker_->openedSerial() == serial &&
           (!worker_->fileValid() || worker_->readyGeneration() == generation_);
  });
}

bool LessonPlayer::waitIndexed(double timeoutSeconds) const {
  const uint32_t serial = worker_->openSerialRequested();
  return pollUntil(timeoutSeconds,
                   [&] { return worker_->openedSerial() == serial && worker_->indexComplete(); });
}

double LessonPlayer::durationSeconds() const {
  return static_cast<double>(worker_->totalFrames()) / kRate;
}

}  // namespace platform::audio

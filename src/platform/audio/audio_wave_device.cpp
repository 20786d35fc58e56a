#include "platform/audio/audio_wave_device.h"

#include <QTimer>
#include <filesystem>

#include "platform/audio/audio_format.h"

namespace platform::audio {

Recorder::Recorder(std::shared_ptr<Core> core)
    : core_(std::move(core)),
      take_(std::make_unique<TakeVoice>()),
      watch_(std::make_unique<QTimer>()) {
  // The end of a play is seen by polling the callback's counter: the callback
  // itself may not touch Qt.
  watch_->setInterval(5);
  QObject::connect(watch_.get(), &QTimer::timeout, [this] { watchPlay(); });
  core_->mixer.attach(take_.get());
}

Recorder::~Recorder() {
  if (recording_) core_->stopCapture();
  core_->mixer.detach(take_.get());
}

void Recorder::setCommand(const std::string& command) {
  if (command == "close") {
    close();
    return;
  }
  if (command == "open") {
    close();
    std::error_code ec;
    open_ = std::filesystem::is_regular_file(fileName_, ec);
    return;
  }
  if (!open_) return;
  if (command == "record") {
    stop();
    hasTake_ = false;
    take_->reserve(kMaxTakeFrames);
    take_->startRecording();
    core_->mixer.settle();  // no pass still reads the old take while it is overwritten
    recording_ = core_->startCapture(*take_);
    if (!recording_) take_->stopRecording();
  } else if (command == "stop") {
    stop();
  } else if (command == "play") {
    if (recording_) stop();
    if (!hasTake_) return;
    play_ = take_->startPlay(static_cast<int64_t>(fromMs_) * kRate / 1000);
    core_->wake();
    watch_->start();
  }
}

void Recorder::close() {
  stop();
  hasTake_ = false;
  open_ = false;
}

void Recorder::stop() {
  if (recording_) {
    core_->stopCapture();
    take_->stopRecording();
    recording_ = false;
    hasTake_ = true;
  }
  // A play cut short raises no Done.
  if (play_) take_->stopPlay();
  play_ = 0;
  watch_->stop();
}

void Recorder::watchPlay() {
  if (!take_->finished(play_)) return;
  play_ = 0;
  watch_->stop();
  if (Done) Done();
}

// ---- for the take analysis ----

SoundSamples Recorder::take() const {
  if (!hasTake_) return {{}, kRate};
  const std::span<const int16_t> s = take_->samples();
  return {{s.begin(), s.end()}, kRate};
}

// The frame handed to the output last: the device's buffer of one period
// (about 12 ms) is still to be heard, which a mark drawn from it can ignore.
double Recorder::playPosition() const {
  if (play_ == 0 || take_->finished(play_)) return -1;
  const int64_t frame = take_->playedFrame(play_);
  return static_cast<double>(frame < 0 ? int64_t{fromMs_} * kRate / 1000 : frame) / kRate;
}

}  // namespace platform::audio

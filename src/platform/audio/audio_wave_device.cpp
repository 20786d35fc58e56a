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
    recording_ = core_->startCapture(*take_);
    if (!recording_) take_->stopRecording();
  } else if (command == "stop") {
    stop();
  } else if (command == "play") {
    if (recording_) stop();
    if (!hasTake_) return;
    finishedSeen_ = take_->finishedPlays();
    take_->startPlay(static_cast<int64_t>(fromMs_) * kRate / 1000);
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
  take_->stopPlay();
  watch_->stop();
  finishedSeen_ = take_->finishedPlays();
}

void Recorder::watchPlay() {
  if (take_->finishedPlays() == finishedSeen_) return;
  finishedSeen_ = take_->finishedPlays();
  watch_->stop();
  if (Done) Done();
}

// ---- for the take analysis ----

SoundSamples Recorder::take() const {
  if (!hasTake_) return {{}, kRate};
  return {take_->recorded(), kRate};
}

// The frame handed to the output last: the device's buffer of one period
// (about 12 ms) is still to be heard, which a mark drawn from it can ignore.
double Recorder::playPosition() const {
  if (!take_->playing()) return -1;
  return static_cast<double>(take_->playFrame()) / kRate;
}

}  // namespace platform::audio

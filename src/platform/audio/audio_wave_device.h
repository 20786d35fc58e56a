#pragma once
// The recorder behind WaveDevice: records the default input into the take and
// plays the take into the shared output. Done is raised from a Qt timer, so
// it arrives on the user-interface thread.
#include <memory>
#include <string>

#include "platform/audio/audio_core.h"
#include "platform/audio/audio_format.h"
#include "platform/audio/wave_device.h"

class QTimer;

namespace platform::audio {

class Recorder final : public WaveDevice {
 public:
  // Longest take kept; recording goes on silently past it.
  static constexpr int64_t kMaxTakeFrames = int64_t{120} * kRate;

  explicit Recorder(std::shared_ptr<Core> core);
  ~Recorder() override;

  void setNotify(bool on) override { notify_ = on; }
  void setWait(bool on) override { wait_ = on; }
  void setShareable(bool on) override { shareable_ = on; }
  void setDeviceType(const std::string& type) override { deviceType_ = type; }
  void setFileName(const std::string& path) override { fileName_ = path; }
  void setFrom(long position) override { fromMs_ = position; }
  void setCommand(const std::string& command) override;

  // For the take analysis.
  SoundSamples take() const override;
  double playPosition() const override;

  bool isOpen() const { return open_; }
  bool recording() const { return recording_; }
  bool hasTake() const { return hasTake_; }

 private:
  void close();
  void stop();
  void watchPlay();

  std::shared_ptr<Core> core_;
  std::unique_ptr<TakeVoice> take_;
  std::unique_ptr<QTimer> watch_;
  uint32_t play_ = 0;  // the take's play that raises Done when it ends
  bool notify_ = false;
  bool wait_ = false;
  bool shareable_ = false;
  std::string deviceType_;
  std::string fileName_;
  long fromMs_ = 0;
  bool open_ = false;
  bool recording_ = false;
  bool hasTake_ = false;
};

}  // namespace platform::audio

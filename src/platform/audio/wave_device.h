#pragma once
// The voice recorder: a wave-audio device that records the default input into
// memory (the take) and plays the take back from its beginning.
#include <functional>
#include <string>

#include "platform/audio/sound_samples.h"

namespace platform {

class WaveDevice {
 public:
  virtual ~WaveDevice() = default;

  virtual void setNotify(bool on) = 0;
  virtual void setWait(bool on) = 0;
  virtual void setShareable(bool on) = 0;
  virtual void setDeviceType(const std::string& type) = 0;  // "WaveAudio"
  virtual void setFileName(const std::string& path) = 0;
  virtual void setFrom(long position) = 0;
  // "close", "open", "record", "stop", "play". Without a successful "open"
  // (the file must exist) every later command does nothing.
  virtual void setCommand(const std::string& command) = 0;

  // ---- for the take analysis ----
  // A copy of the take as recorded; no samples without one (never recorded,
  // no input, still recording, or a device that keeps no samples).
  virtual SoundSamples take() const { return {}; }
  // Seconds from the take's beginning of the sample the output is playing
  // now; negative while the take is not playing.
  virtual double playPosition() const { return -1; }

  // Raised on the user-interface thread when a play of the take has finished.
  std::function<void()> Done;
};

}  // namespace platform

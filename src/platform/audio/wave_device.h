#pragma once
// The voice recorder: a wave-audio device that records the default input into
// memory (the take) and plays the take back from its beginning.
#include <functional>
#include <string>

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

  // Raised on the user-interface thread when a play of the take has finished.
  std::function<void()> Done;
};

}  // namespace platform

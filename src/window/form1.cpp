#include "window/form1.h"

#include "platform/text/files.h"

Form1::Form1(std::string programFolder, Devices devices)
    : WindowsMediaPlayer1(*devices.player),
      MMControl1(*devices.wave),
      sounds(*devices.sounds),
      folder_(std::move(programFolder)),
      devices_(std::move(devices)) {
  buildElements();
  wireEvents();
  Form_Load();
}

Form1::~Form1() { destroyWidgets(); }

std::string Form1::path(const std::string& relative) const {
  return platform::programPath(folder_, relative);
}

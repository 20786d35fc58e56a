#pragma once
// The running program over its program folder. The application connects to
// the display; the window's pictures are decoded on a worker thread while the
// window is built; once it has shown, the audio engine is loaded and opened
// (platform/background_audio.h).
#include <memory>
#include <string>

#include "platform/audio/background_audio.h"
#include "platform/ui/ui.h"
#include "window/form1.h"

namespace app {

class Program {
 public:
  // Starts the application and opens the main window (Form_Load included).
  // The audio module is looked for in the program folder.
  Program(int& argc, char** argv, std::string programFolder);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  int exec();  // until the window closes
  Form1& form() { return *form_; }
  platform::BackgroundAudio& audio() { return *audio_; }

 private:
  // Declared in start order; they go in reverse: the window before the
  // audio engine, both before the application.
  ui::Application application_;
  std::unique_ptr<platform::BackgroundAudio> audio_;
  std::unique_ptr<Form1> form_;
};

// The audio module's file name in the program folder.
inline constexpr const char* kAudioModule = "libparlenda_audio.so";

}  // namespace app

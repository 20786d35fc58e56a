#include "app/program.h"

#include <utility>

#include "platform/ui/quit_signals.h"

namespace app {

Program::Program(int& argc, char** argv, std::string programFolder) : application_(argc, argv) {
  ui::prefetchPictures(Form1::pictureFolders(programFolder));
  audio_ = std::make_unique<platform::BackgroundAudio>(
      platform::BackgroundAudio::fromModule(programFolder + "/" + kAudioModule));
  Devices devices{audio_->createMediaPlayer(), audio_->createWaveDevice(), audio_->createSounds(),
                  false};
  form_ = std::make_unique<Form1>(std::move(programFolder), std::move(devices));
  audio_->NoOutput = [this] { form_->tellSoundOff(); };
  audio_->openAfterFirstPaint(*form_);
  // A signal to end closes the window as its close button does.
  ui::onQuitSignal([this, closed = false]() mutable {
    if (!std::exchange(closed, true)) form_->close();
  });
}

Program::~Program() = default;

int Program::exec() { return application_.exec(); }

}  // namespace app

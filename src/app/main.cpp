// Parlenda: the program folder is the folder of the executable.
#include <memory>

#include "platform/audio_engine.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "window/form1.h"

int main(int argc, char** argv) {
  std::unique_ptr<platform::AudioEngine> engine;
  std::unique_ptr<Form1> form;
  return ui::runApplication(
      argc, argv,
      [&] {
        engine = std::make_unique<platform::AudioEngine>();
        Devices devices{engine->createMediaPlayer(), engine->createWaveDevice(),
                        engine->createSounds(), !engine->outputAvailable()};
        form = std::make_unique<Form1>(platform::executableFolder(), std::move(devices));
      },
      [&] {
        form.reset();
        engine.reset();
      });
}

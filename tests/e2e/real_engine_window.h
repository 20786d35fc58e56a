#pragma once
// The window over a copy of the demo course on the real engine, its output
// written by SDL's disk driver into the test's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../audio/audio_test_support.h"
#include "platform/audio/audio_engine.h"
#include "window/form1.h"

class RealEngineWindow : public ::testing::Test {
 protected:
  audio_test::TempDir dir;
  std::string folder = dir.file("program");
  std::unique_ptr<platform::AudioEngine> engine;
  std::unique_ptr<Form1> form;

  // Message boxes answer at once; the start-up sentence may still play.
  void startWindow() {
    std::filesystem::copy(PARLENDA_SOURCE_DIR "/data", folder,
                          std::filesystem::copy_options::recursive);
    ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
    audio_test::useDiskAudio(dir);
    engine = std::make_unique<platform::AudioEngine>();
    ASSERT_TRUE(engine->outputAvailable());
    form = std::make_unique<Form1>(folder,
                                   Devices{engine->createMediaPlayer(), engine->createWaveDevice(),
                                           engine->createSounds(), false});
    form->Unload = nullptr;
  }
};

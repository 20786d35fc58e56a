// The take beside the model on the real engine: SDL's disk driver captures
// espeak-ng reading the demo lesson's sentence, the player reads the
// sentence's stretch out of the lesson's mp3, and the read-along display
// shows both voices after "停止".
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "../analysis/speech_fixtures.h"
#include "../audio/audio_test_support.h"
#include "platform/audio/audio_engine.h"
#include "support/learner.h"
#include "window/form1.h"

namespace {

using namespace audio_test;
namespace fs = std::filesystem;

// espeak-ng's 22.05 kHz brought to the engine's rate (each sample twice),
// after a short silence, as a microphone would give it.
Samples microphone(const analysis::Sound& speech, double leadIn) {
  Samples out(size_t(leadIn * kRate), 0);
  for (int16_t s : speech.samples) out.insert(out.end(), {s, s});
  out.insert(out.end(), size_t(kRate / 2), 0);
  return out;
}

TEST(TakeTracesOnTheRealEngine, ARecordedTakeIsShownBesideTheLessonSentence) {
  TempDir dir;
  const std::string folder = dir.file("program");
  fs::copy(PARLENDA_SOURCE_DIR "/data", folder, fs::copy_options::recursive);
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  const std::string capture = dir.file("microphone.raw");
  useDiskAudio(dir, capture);
  // The device is probed at start; what it captures is written below, once
  // the sentence is known, and read from its beginning by each recording.
  writeRaw(capture, Samples(kRate / 10, 0));
  auto engine = std::make_unique<platform::AudioEngine>();
  ASSERT_TRUE(engine->inputAvailable());
  auto form = std::make_unique<Form1>(
      folder, Devices{engine->createMediaPlayer(), engine->createWaveDevice(),
                      engine->createSounds(), false});
  form->Unload = nullptr;
  Form1& f = *form;

  const analysis::Sound said = analysis_test::speak(f.Label1.caption(), {"en+f3", 60, 150});
  ASSERT_FALSE(said.samples.empty()) << "espeak-ng is needed";
  const Samples mic = microphone(said, 0.4);
  writeRaw(capture, mic);

  learner::click(f.Label14(5));
  ASSERT_EQ(f.studymode, 5);
  learner::click(f.Command8);
  // The disk driver reads the capture file in real time.
  waitFor([] { return false; }, double(mic.size()) / kRate + 0.2);
  learner::click(f.Command10);
  ASSERT_TRUE(waitFor([&] { return !f.analysing(); }, 20));
  EXPECT_TRUE(f.TraceView1.hasTraces()) << f.Label54.caption();
  EXPECT_EQ(f.Label54.caption().rfind("语调 ", 0), 0u) << f.Label54.caption();
  EXPECT_FALSE(f.Label55.caption().empty());
  EXPECT_EQ(learner::unseenTexts(f), std::vector<std::string>{});

  form.reset();
  engine.reset();
  ui::setMessageBoxResponder(nullptr);
}

}  // namespace

// The audio engine that arrives after the window: players handed out before
// it keep answering and hold their calls, which reach the real players in
// order; without an engine nothing is heard and the learner is told.
#include "platform/audio/background_audio.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

using platform::AudioDevices;
using platform::BackgroundAudio;
using Log = std::vector<std::string>;

struct RecordingPlayer : platform::MediaPlayer {
  explicit RecordingPlayer(Log& to) : log(to) {}
  Log& log;
  void setAutoStart(bool on) override { log.push_back("autostart " + std::to_string(on)); }
  void setVolume(int v) override { log.push_back("volume " + std::to_string(v)); }
  int volume() const override { return 77; }
  void setRate(double r) override { log.push_back("rate " + std::to_string(r)); }
  double rate() const override { return 2.0; }
  void setURL(const std::string& p) override { log.push_back("url " + p); }
  std::string URL() const override { return "real"; }
  double currentPosition() const override { return 9.5; }
  void setCurrentPosition(double s) override { log.push_back("position " + std::to_string(s)); }
  void play() override { log.push_back("play"); }
  void pause() override { log.push_back("pause"); }
  void setEndGuard(double s) override { log.push_back("guard " + std::to_string(s)); }
  // The stretch asked for, as samples: from and to in tenths of a second.
  platform::SoundReader stretchReader(double from, double to) const override {
    return [from, to] {
      return platform::SoundSamples{{int16_t(from * 10), int16_t(to * 10)}, 22050};
    };
  }
};
struct RecordingWave : platform::WaveDevice {
  explicit RecordingWave(Log& to) : log(to) {}
  Log& log;
  void setNotify(bool) override {}
  void setWait(bool) override {}
  void setShareable(bool) override {}
  void setDeviceType(const std::string& t) override { log.push_back("device " + t); }
  void setFileName(const std::string& f) override { log.push_back("file " + f); }
  void setFrom(long) override {}
  void setCommand(const std::string& c) override { log.push_back("command " + c); }
  platform::SoundSamples take() const override { return {{1, 2, 3}, 44100}; }
  double playPosition() const override { return 0.25; }
};
struct RecordingSounds : platform::Sounds {
  explicit RecordingSounds(Log& to) : log(to) {}
  Log& log;
  void play(const std::string& p) override { log.push_back("sound " + p); }
};

struct FakeEngine : AudioDevices {
  FakeEngine(Log& to, bool withOutput, std::atomic<int>* count)
      : log(to), output(withOutput), alive(count) {
    if (alive) ++*alive;
  }
  ~FakeEngine() override {
    if (alive) --*alive;
  }
  Log& log;
  bool output;
  std::atomic<int>* alive;
  RecordingWave* wave = nullptr;
  bool outputAvailable() const override { return output; }
  bool inputAvailable() const override { return output; }
  std::unique_ptr<platform::MediaPlayer> createMediaPlayer() override {
    return std::make_unique<RecordingPlayer>(log);
  }
  std::unique_ptr<platform::WaveDevice> createWaveDevice() override {
    auto w = std::make_unique<RecordingWave>(log);
    wave = w.get();
    return w;
  }
  std::unique_ptr<platform::Sounds> createSounds() override {
    return std::make_unique<RecordingSounds>(log);
  }
};

bool waitUntilReady(BackgroundAudio& audio, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (!audio.ready() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
  return audio.ready();
}

TEST(BackgroundAudio, CallsMadeBeforeTheEngineReachItInOrderAndLaterOnesGoStraightThrough) {
  Log log;
  FakeEngine* engine = nullptr;
  BackgroundAudio audio(
      [&]() -> AudioDevices* { return engine = new FakeEngine(log, true, nullptr); });
  int noOutput = 0;
  audio.NoOutput = [&] { ++noOutput; };
  auto player = audio.createMediaPlayer();
  auto wave = audio.createWaveDevice();
  auto sounds = audio.createSounds();
  int done = 0;
  wave->Done = [&] { ++done; };

  player->setVolume(30);
  player->setRate(0.5);
  player->setURL("1.mp3");
  player->setCurrentPosition(2.5);
  player->setEndGuard(4.0);
  player->play();
  wave->setDeviceType("WaveAudio");
  wave->setCommand("open");
  sounds->play("type.wav");
  // Before the engine: answers from what it was told, and nothing is heard.
  EXPECT_EQ(player->volume(), 30);
  EXPECT_EQ(player->rate(), 0.5);
  EXPECT_EQ(player->URL(), "1.mp3");
  EXPECT_EQ(player->currentPosition(), 2.5);
  EXPECT_TRUE(log.empty());
  // No take and no stretch to read before the engine.
  EXPECT_TRUE(wave->take().samples.empty());
  EXPECT_LT(wave->playPosition(), 0);
  EXPECT_TRUE(player->stretchReader(1.5, 3.0)().samples.empty());

  audio.open();
  ASSERT_TRUE(waitUntilReady(audio));
  EXPECT_EQ(log,
            (Log{"volume 30", "rate 0.500000", "url 1.mp3", "position 2.500000", "guard 4.000000",
                 "play", "device WaveAudio", "command open", "sound type.wav"}));
  log.clear();
  player->pause();
  EXPECT_EQ(log, Log{"pause"});
  EXPECT_EQ(player->currentPosition(), 9.5);  // now the real player's
  EXPECT_EQ(wave->take().samples, (std::vector<int16_t>{1, 2, 3}));
  EXPECT_EQ(wave->playPosition(), 0.25);
  const platform::SoundReader read = player->stretchReader(1.5, 3.0);
  EXPECT_EQ(read().samples, (std::vector<int16_t>{15, 30}));
  EXPECT_EQ(read().rate, 22050);
  engine->wave->Done();
  EXPECT_EQ(done, 1);
  EXPECT_EQ(noOutput, 0);
  EXPECT_TRUE(audio.outputAvailable());
}

TEST(BackgroundAudio, WithoutAnEngineOrAnOutputTheLearnerIsToldAndNothingIsHeard) {
  struct Case {
    const char* name;
    bool engine;
  } cases[] = {{"module missing", false}, {"no output device", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Log log;
    BackgroundAudio audio([&]() -> AudioDevices* {
      return c.engine ? new FakeEngine(log, false, nullptr) : nullptr;
    });
    int noOutput = 0;
    audio.NoOutput = [&] { ++noOutput; };
    auto player = audio.createMediaPlayer();
    player->setCurrentPosition(1.5);
    player->play();
    audio.open();
    audio.open();  // a second start does nothing
    ASSERT_TRUE(waitUntilReady(audio));
    EXPECT_EQ(noOutput, 1);
    EXPECT_FALSE(audio.outputAvailable());
    player->play();
    if (!c.engine) {
      EXPECT_TRUE(log.empty());
      EXPECT_EQ(player->currentPosition(), 1.5);  // the position never moves
    }
    // A player asked for after the arrival is attached at once.
    auto late = audio.createSounds();
    late->play("wrong.wav");
    EXPECT_EQ(log.empty(), !c.engine);
  }
}

TEST(BackgroundAudio, GoingAwayWhileTheEngineIsStillOpeningKeepsNothingAlive) {
  Log log;
  std::atomic<int> alive{0};
  {
    BackgroundAudio audio([&]() -> AudioDevices* {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return new FakeEngine(log, true, &alive);
    });
    auto player = audio.createMediaPlayer();
    player->play();
    audio.open();
    player.reset();
  }
  EXPECT_EQ(alive.load(), 0);
  EXPECT_TRUE(log.empty());
}

TEST(BackgroundAudio, TheProgramsModuleOpensTheRealEngineAfterTheWindowPaints) {
  const std::string dir = PARLENDA_PROGRAM_DIR;
  {
    BackgroundAudio audio(BackgroundAudio::fromModule(dir + "/libparlenda_audio.so"));
    auto player = audio.createMediaPlayer();
    player->setAutoStart(false);
    player->setURL(dir + "/Sound/Book01/1.mp3");
    player->setCurrentPosition(1.25);
    ui::Window window;
    window.setWidth(1200);
    window.setHeight(900);
    audio.openAfterFirstPaint(window);
    window.showCentered();
    ASSERT_TRUE(waitUntilReady(audio));
    EXPECT_TRUE(audio.outputAvailable());  // SDL's dummy driver
    EXPECT_NEAR(player->currentPosition(), 1.25, 0.001);
    EXPECT_EQ(player->URL(), dir + "/Sound/Book01/1.mp3");
  }
  BackgroundAudio missing(BackgroundAudio::fromModule(dir + "/no_such_module.so"));
  int noOutput = 0;
  missing.NoOutput = [&] { ++noOutput; };
  missing.open();
  ASSERT_TRUE(waitUntilReady(missing));
  EXPECT_EQ(noOutput, 1);
}

}  // namespace

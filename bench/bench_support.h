#pragma once
// Shared pieces of the window benchmarks: silent audio components, a
// program-folder copy, and (first_paint.h) a wait for a window's first paint.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "first_paint.h"
#include "platform/audio/media_player.h"
#include "platform/audio/sounds.h"
#include "platform/audio/wave_device.h"
#include "platform/ui/ui.h"
#include "window/form1.h"

struct SilentPlayer : platform::MediaPlayer {
  double pos = 0, r = 1;
  int vol = 50;
  std::string url;
  void setAutoStart(bool) override {}
  void setVolume(int v) override { vol = v; }
  int volume() const override { return vol; }
  void setRate(double x) override { r = x; }
  double rate() const override { return r; }
  void setURL(const std::string& p) override { url = p; }
  std::string URL() const override { return url; }
  double currentPosition() const override { return pos; }
  void setCurrentPosition(double s) override { pos = s; }
  void play() override {}
  void pause() override {}
  void setEndGuard(double) override {}
};
struct SilentWave : platform::WaveDevice {
  void setNotify(bool) override {}
  void setWait(bool) override {}
  void setShareable(bool) override {}
  void setDeviceType(const std::string&) override {}
  void setFileName(const std::string&) override {}
  void setFrom(long) override {}
  void setCommand(const std::string&) override {}
};
struct SilentSounds : platform::Sounds {
  void play(const std::string&) override {}
};

inline Devices silentDevices() {
  return Devices{std::make_unique<SilentPlayer>(), std::make_unique<SilentWave>(),
                 std::make_unique<SilentSounds>(), false};
}

// This process's own copy of the program folder (benchmarks run at once do
// not share one), removed when the process ends.
inline std::filesystem::path benchFolder() {
  return std::filesystem::temp_directory_path() / ("parlenda-bench-" + std::to_string(getpid()));
}

inline std::string copyProgramFolder() {
  namespace fs = std::filesystem;
  static const fs::path to = [] {
    std::atexit([] { fs::remove_all(benchFolder()); });
    return benchFolder();
  }();
  fs::remove_all(to);
  fs::copy(PARLENDA_PROGRAM_DIR, to, fs::copy_options::recursive);
  fs::remove(to / "parlenda");
  return to.string();
}

// The baseline of the window benchmarks: a bare frameless window of
// Parlenda's size, shown and painted once.
inline void BareWindow(benchmark::State& state) {
  for (auto _ : state) {
    QWidget w;
    w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    w.setFixedSize(780, 555);
    w.show();
    waitForFirstPaint(&w);
  }
}

// Runs the registered benchmarks inside an offscreen Qt application whose
// message boxes are answered at once, reported by `reporter` when one is given.
inline int runWindowBenchmarks(int argc, char** argv,
                               benchmark::BenchmarkReporter* reporter = nullptr) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ui::useSkinFonts();
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  benchmark::Initialize(&argc, argv);
  if (reporter)
    benchmark::RunSpecifiedBenchmarks(reporter);
  else
    benchmark::RunSpecifiedBenchmarks();
  return 0;
}

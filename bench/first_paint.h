#pragma once
// The moment a window is first shown, for the start-up benchmarks.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>

// Runs the event loop until `w` has painted once.
inline void waitForFirstPaint(QWidget* w) {
  struct Watch : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) painted = true;
      return false;
    }
  } watch;
  w->installEventFilter(&watch);
  while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
  w->removeEventFilter(&watch);
}

// Prints the wall clock in microseconds since the epoch, so bench/startup.sh
// can time spawn-to-paint without the process's exit.
inline void printPaintTime() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  std::printf("%lld\n", static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
  std::fflush(stdout);
}

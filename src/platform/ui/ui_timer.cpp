// Timers whose ticks run on the event loop between other events.
#include <QTimer>

#include "platform/ui/ui_qt.h"

namespace ui {

struct Timer::Impl {
  QTimer timer;
};

Timer::Timer() : impl_(std::make_unique<Impl>()) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] {
    if (enabled_ && Tick) Tick();
  });
}

Timer::~Timer() = default;

// Setting the interval of a running timer starts its wait again.
void Timer::setInterval(int ms) {
  interval_ = ms;
  impl_->timer.setInterval(std::max(0, ms));
  if (enabled_) impl_->timer.start();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  if (on)
    impl_->timer.start(std::max(0, interval_));
  else
    impl_->timer.stop();
}

bool Timer::fire() {
  if (!enabled_) return false;
  if (Tick) Tick();
  return true;
}

}  // namespace ui

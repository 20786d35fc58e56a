#include "platform/ui/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace ui {
namespace {

int signalPipe[2] = {-1, -1};

// Runs in the signal handler: only async-signal-safe calls.
void writeSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

void onQuitSignal(std::function<void()> onSignal) {
  if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier =
      new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                   [onSignal = std::move(onSignal)] {
                     char bytes[16];
                     while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
                     }
                     onSignal();
                     // Leaves every event loop, a modal box's included.
                     QCoreApplication::exit(0);
                   });
  struct sigaction action {};
  action.sa_handler = writeSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace ui

#pragma once
// SIGTERM and SIGINT as events of the user-interface thread: a desktop's log
// out, `kill` or Ctrl+C in a terminal close the window the way its close
// button does, so shut-down runs and the settings are written.
#include <functional>

namespace ui {

// From now on a SIGTERM or SIGINT runs `onSignal` on the user-interface
// thread (the handler only writes a byte to a pipe), then the application
// leaves its event loops, a modal box's included. Call once, after the
// application exists.
void onQuitSignal(std::function<void()> onSignal);

}  // namespace ui

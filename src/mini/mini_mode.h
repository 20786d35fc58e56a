#pragma once
// The mini mode: the full window hides and a small strip, always on top,
// shows the current sentence with previous, replay, next, the repeat count,
// the speed and a way back to the full window. The strip drives the window's
// own player (every call runs the learner's handlers) and follows the study
// events, so both windows show one lesson and one place. Where the strip was
// and whether it was on are kept in a file of the learner's data.
#include <memory>
#include <string>

#include "study/player.h"

namespace ui {
class Window;
}

namespace mini {

class MiniStrip;

class MiniMode {
 public:
  MiniMode(study::SentencePlayer& player, ui::Window& fullWindow, std::string stateFile);
  ~MiniMode();
  MiniMode(const MiniMode&) = delete;
  MiniMode& operator=(const MiniMode&) = delete;

  // The full window hides and the strip shows in its place of last time.
  void enter();
  // The strip goes and the full window comes back where it was.
  void leave();
  bool on() const;
  // At start-up: into the mini mode again when the program was left in it.
  void resume();
  MiniStrip& strip();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace mini

#pragma once
// What the book maker reports while it works, and how it is asked to stop.
// A dialog gives a Progress whose report() updates its bar; cancel() may be
// called from any thread, and the long stages (decoding, encoding, aligning)
// check it as they go and stop with Cancelled.
#include <atomic>
#include <functional>
#include <string>

namespace bookmaker {

enum class Stage { Reading, Speaking, Decoding, Aligning, Encoding, Checking, Writing };
const char* stageName(Stage stage);

struct Report {
  int lesson = 0;   // 1-based; 0 while the texts are read
  int lessons = 0;  // how many the book has
  Stage stage = Stage::Reading;
  double fraction = 0;  // of this stage of this lesson, 0 to 1
};

class Progress {
 public:
  using Listener = std::function<void(const Report&)>;
  explicit Progress(Listener listener = {}) : listener_(std::move(listener)) {}

  void cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }
  // Throws Cancelled when cancel() was called.
  void check() const;

  void startLesson(int lesson, int lessons);
  void stage(Stage stage, double fraction = 0);
  // The stage's fraction; checks for a cancel too.
  void advance(double fraction);

 private:
  Listener listener_;
  std::atomic<bool> cancelled_{false};
  Report report_;
};

}  // namespace bookmaker

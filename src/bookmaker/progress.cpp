#include "bookmaker/progress.h"

#include <algorithm>

#include "bookmaker/book_error.h"

namespace bookmaker {

const char* stageName(Stage stage) {
  switch (stage) {
    case Stage::Reading:
      return "reading";
    case Stage::Speaking:
      return "speaking";
    case Stage::Decoding:
      return "decoding";
    case Stage::Aligning:
      return "aligning";
    case Stage::Encoding:
      return "encoding";
    case Stage::Checking:
      return "checking";
    case Stage::Writing:
      return "writing";
  }
  return "";
}

void Progress::check() const {
  if (cancelled_) throw Cancelled();
}

void Progress::startLesson(int lesson, int lessons) {
  report_.lesson = lesson;
  report_.lessons = lessons;
  check();
}

void Progress::stage(Stage stage, double fraction) {
  report_.stage = stage;
  report_.fraction = -1;
  advance(fraction);
}

void Progress::advance(double fraction) {
  check();
  fraction = std::clamp(fraction, 0.0, 1.0);
  // A bar moves in steps of a thousandth: no flood of reports.
  if (report_.fraction >= 0 && int(fraction * 1000) == int(report_.fraction * 1000)) return;
  report_.fraction = fraction;
  if (listener_) listener_(report_);
}

}  // namespace bookmaker

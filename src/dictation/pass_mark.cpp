// The pass mark of the dictation test: from 60 to 100.
#include "app/numeric.h"
#include "messages/messages.h"
#include "window/form1.h"

void Form1::Combo5_Change() {
  // While the learner types into the box the number is still being written
  // ("8" on the way to "80"): it is checked on Enter there and when a score
  // is compared with it.
  if (Combo5.hasFocus()) return;
  checkPassMark();
}

// No score is above 100, so a mark above it could never be reached. Puts the
// nearest mark the test takes in the box; returns what the learner is told,
// empty when the mark was one the test takes.
std::string Form1::correctPassMark() {
  const double mark = app::val(Combo5.text());
  if (mark >= 60 && mark <= 100) return "";
  Combo5.setText(mark < 60 ? "60" : "100");
  return std::string(mark < 60 ? messages::kPassMarkTooLow : messages::kPassMarkTooHigh);
}

void Form1::checkPassMark() {
  const std::string told = correctPassMark();
  if (!told.empty()) ui::msgBox(told, ui::kOkOnly, kAppTitle);
}

void Form1::Combo5_LostFocus() {
  const std::string told = correctPassMark();
  if (told.empty()) return;
  Label56.setCaption(told);
  Label56.setLeft(Frame13.left() - 90 - Label56.width());
  Label56.setVisible(true);
  Timer5.setEnabled(false);  // a new notice stays its whole time
  Timer5.setEnabled(true);
}

void Form1::Timer5_Timer() {
  Timer5.setEnabled(false);
  Label56.setVisible(false);
}

// The pass mark of the dictation test: from 60 to 100.
#include "app/numeric.h"
#include "window/form1.h"

void Form1::Combo5_Change() {
  // While the learner types into the box the number is still being written
  // ("8" on the way to "80"): it is checked on Enter there and when a score
  // is compared with it.
  if (Combo5.hasFocus()) return;
  checkPassMark();
}

// No score is above 100, so a mark above it could never be reached.
void Form1::checkPassMark() {
  const double mark = app::val(Combo5.text());
  if (mark >= 60 && mark <= 100) return;
  ui::msgBox(mark < 60 ? "最低值不能低于60分！" : "最高值不能高于100分！", ui::kOkOnly, kAppTitle);
  Combo5.setText(mark < 60 ? "60" : "100");
}

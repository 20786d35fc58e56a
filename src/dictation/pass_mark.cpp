// The pass mark of the dictation test: never below 60.
#include "app/numeric.h"
#include "window/form1.h"

void Form1::Combo5_Change() {
  // While the learner types into the box the number is still being written
  // ("8" on the way to "80"): it is checked on Enter there and when a score
  // is compared with it.
  if (Combo5.hasFocus()) return;
  checkPassMark();
}

void Form1::checkPassMark() {
  if (app::val(Combo5.text()) >= 60) return;
  ui::msgBox("最低值不能低于60分！", ui::kOkOnly, kAppTitle);
  Combo5.setText("60");
}

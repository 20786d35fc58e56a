// The pass mark of the dictation test: never below 60.
#include "app/numeric.h"
#include "window/form1.h"

void Form1::Combo5_Change() {
  if (app::val(Combo5.text()) >= 60) return;
  ui::msgBox("最低值不能低于60分！", ui::kOkOnly, kAppTitle);
  Combo5.setText("60");
}

// The keys of the sentence-study and dictation pages; the key goes on to the
// focused element afterwards.
#include "window/form1.h"

void Form1::Form_KeyDown(int keyCode) {
  if (keyCode == ui::kKeyPageUp && Command2.enabled()) Command2_Click();
  if (keyCode == ui::kKeyPageDown && Command1.enabled() && studymode == 1) Command1_Click();
  if (keyCode == ui::kKeyF1) Command3_Click();
  if (keyCode == ui::kKeyF9 && studymode == 8) Command25.click();
  if (keyCode == ui::kKeyF7 && studymode == 1) Command4_Click();
  if (keyCode == ui::kKeyF7 && studymode == 8) Command22.click();
  if (keyCode == ui::kKeyF8 && studymode == 1) Command5.click();
  if (keyCode == ui::kKeyF6 && studymode == 1) ReviewMark.click();
  if (keyCode == ui::kKeyF8 && studymode == 8) Command23.click();
  // A long repeat can be stopped without leaving the page.
  if (keyCode == ui::kKeyEscape && (studymode == 1 || studymode == 8)) stopSentence();
}

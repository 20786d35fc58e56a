// Moving between sentences, and the display toggles.
#include "app/numeric.h"
#include "content/lesson_text.h"
#include "window/form1.h"

int Form1::sentenceNumber() const { return int(app::val(Label3.caption())); }
int Form1::sentenceCount() const { return int(app::val(Label4.caption())); }

void Form1::setNextButtons(bool on) {
  Command1.setEnabled(on);
  Command14.setEnabled(on);
}

void Form1::setPreviousButtons(bool on) {
  Command2.setEnabled(on);
  Command13.setEnabled(on);
}

void Form1::Command1_Click() {
  const std::string& text = RichTextBox1.text();
  int next = content::findFrom(text, '*', sentto + 1);
  if (next == 0) return;  // no record after the cursor: it stays where it is
  sentfrom = sentto;
  sentto = next;
  Label3.setCaption(app::str(sentenceNumber() + 1));
  ty();
  clearTraces();
  if (sentenceCount() == sentenceNumber()) setNextButtons(false);
  setPreviousButtons(true);
  if (studymode == 8 || (studymode == 1 && app::val(Combo2.text()) > 0)) Command4_Click();
}

void Form1::Command2_Click() {
  int previous = content::findBack(RichTextBox1.text(), '*', sentfrom - 1);
  if (previous == 0) return;  // already on the first record
  sentto = sentfrom;
  sentfrom = previous;
  Label3.setCaption(app::str(sentenceNumber() - 1));
  ty();
  clearTraces();
  if (sentenceNumber() == 1) setPreviousButtons(false);
  setNextButtons(true);
  if (studymode == 1 && app::val(Combo2.text()) > 0) Command4_Click();
}

void Form1::Command3_Click() {
  if (sentenceCount() == 0) return;
  sentto = 1;
  Command1_Click();
  Label3.setCaption("1");
  Label7(5).setCaption(Label3.caption() + " / " + Label4.caption());
  setPreviousButtons(false);
  setNextButtons(sentenceCount() > 1);
}

void Form1::stopReadAlong() {
  Command9.setEnabled(false);
  Command10.setEnabled(false);
  Command12.setEnabled(false);
  MMControl1.setCommand("stop");
  takeRecording_ = false;
  stopSentence();
}

void Form1::dropTake() {
  if (!takeRecording_ && !Command10.enabled() && !Command12.enabled()) return;
  stopReadAlong();
  clearTraces();
}

void Form1::Command14_Click() {
  Command1_Click();
  stopReadAlong();
}

void Form1::Command13_Click() {
  Command2_Click();
  stopReadAlong();
}

void Form1::Command15_Click() { Command3_Click(); }

void Form1::Command24_Click() {
  resetDictationProgress();
  Command3_Click();
}

// ---- display toggles ----

void Form1::flipSwitch(ui::CheckBox& box, ui::Picture& picture, const char* onPicture) {
  if (box.value() == 1) {
    box.setValue(0);
    picture.setPicture(path("\\bitmap\\0.jpg"));
  } else {
    box.setValue(1);
    picture.setPicture(path(onPicture));
  }
}

void Form1::Label21_Click() { flipSwitch(Check1, Image10, "\\bitmap\\1.jpg"); }
void Form1::Label22_Click() { flipSwitch(Check2, Image11, "\\bitmap\\1.jpg"); }
void Form1::Label23_Click() { flipSwitch(Check3, Image12, "\\bitmap\\a1.jpg"); }
void Form1::Label24_Click() { flipSwitch(Check4, Image13, "\\bitmap\\1.jpg"); }
void Form1::Label31_Click() { flipSwitch(Check5, Image27, "\\bitmap\\a1.jpg"); }

void Form1::Check1_Click() {
  showEnglishOrMask(Check1.value() == 1);
  followToggles();
}

void Form1::Check2_Click() {
  Label2.setVisible(Check2.value() == 1);
  Label46.setVisible(Check2.value() == 1);
  followToggles();
}

void Form1::Check4_Click() { Label11.setVisible(Check4.value() == 1); }

// A hidden line keeps its place: its text takes its template's background.
void Form1::showLines(ui::ElementArray<ui::Label>& lines, bool shown) {
  const ui::Label& model = lines(0);
  for (int i = 1; i <= sentenceCount() && lines.exists(i); ++i)
    lines(i).setForeColor(shown ? model.foreColor() : model.backColor());
}

void Form1::Check3_Click() {
  showLines(Label8, Check3.value() != 0);
  Combo4.setFocus();
}

void Form1::Check5_Click() {
  showLines(Label6, Check5.value() != 0);
  Combo4.setFocus();
}

void Form1::Label20_Click(int index) {
  for (int i = 0; i < 3; ++i) Image9(i).setPicture(path("\\bitmap\\f.jpg"));
  Image9(index).setPicture(path("\\bitmap\\t.jpg"));
  ui::OptionButton* options[] = {&Option1, &Option2, &Option3};
  options[index]->setValue(true);
}

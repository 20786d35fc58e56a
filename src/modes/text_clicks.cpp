// Clicks on the rows of the full text and on the recall pages.
#include "content/lesson_text.h"
#include "window/form1.h"

void Form1::playRow(int i) {
  playcount = 0;
  content::Record r = content::parseRecord(Label5(i).caption());
  hash1 = r.hash[0], hash2 = r.hash[1], hash3 = r.hash[2], hash4 = r.hash[3];
  takeStretch(r);
  if (!playStretch()) tellUnplayable();
}

void Form1::toggleLine(ui::ElementArray<ui::Label>& lines, int i) {
  const ui::Label& model = lines(0);
  ui::Label& line = lines(i);
  line.setForeColor(line.foreColor() == model.backColor() ? model.foreColor() : model.backColor());
}

void Form1::hideUnderlines() {
  for (int j = 1; j < Line3.count(); ++j) Line3(j).setVisible(false);
}

void Form1::clickSound(bool press) {
  sounds.play(path(press ? "\\SETTING\\Sound\\MouDown.wav" : "\\SETTING\\Sound\\MouUp.wav"));
}

void Form1::Label6_MouseDown(int, const ui::MouseEvent&) {
  if (studymode == 4) clickSound(true);
}

void Form1::Label6_MouseUp(int i, const ui::MouseEvent&) {
  hideUnderlines();
  if (studymode == 2) {
    readindex = std::int16_t(i);
    playRow(i);
    Line3(i).setVisible(true);
  }
  Combo4.setFocus();
  if (studymode == 4) {
    clickSound(false);
    toggleLine(Label6, i);
    Line3(i).setVisible(true);
  }
}

void Form1::Label18_MouseDown(int, const ui::MouseEvent&) {
  if (studymode == 4) clickSound(true);
}

void Form1::Label18_MouseUp(int i, const ui::MouseEvent&) {
  if (studymode != 4) return;
  clickSound(false);
  hideUnderlines();
  toggleLine(Label6, i);
  Line3(i).setVisible(true);
}

void Form1::Label8_MouseDown(int, const ui::MouseEvent&) {
  if (studymode == 3) clickSound(true);
}

void Form1::Label8_MouseUp(int i, const ui::MouseEvent&) {
  if (studymode != 3) return;
  clickSound(false);
  toggleLine(Label8, i);
}

void Form1::Image2_MouseDown(int i, const ui::MouseEvent&) {
  Image2(i).move(Image2(i).left() + 15, Image2(i).top() + 15);
  clickSound(true);
}

void Form1::Image2_MouseUp(int i, const ui::MouseEvent&) {
  Image2(i).move(Image2(i).left() - 15, Image2(i).top() - 15);
  clickSound(false);
  playRow(i);
  hideUnderlines();
  Line3(i).setVisible(true);
}

void Form1::Command16_Click() {
  const int m = studymode;
  const int rows = (m == 4 ? Label6.count() : Label8.count()) - 1;
  if (m == 3 || m == 4) {
    for (int i = 1; i <= rows; ++i) {
      Label6(i).setForeColor(m == 3 ? Label6(0).foreColor() : Label6(0).backColor());
      Label8(i).setForeColor(m == 3 ? Label8(0).backColor() : Label8(0).foreColor());
      Label6(i).setMousePointer(m == 3 ? ui::Pointer::Default : ui::Pointer::Hand);
      Label8(i).setMousePointer(m == 3 ? ui::Pointer::Hand : ui::Pointer::Default);
      if (m == 4) Image2(i).setVisible(true);
    }
  }
  Combo4.setFocus();
  stopSentence();
  scrollToTop();
}

// A click on the empty text area stops all playback and full-text reading.
void Form1::Picture2_Click() {
  hideUnderlines();
  stopSentence();
  Command6.setCaption("全文朗读");
  Command7.setCaption("暂停朗读");
  Command7.setEnabled(false);
  Combo4.setFocus();
}

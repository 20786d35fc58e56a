// The full text: the viewport with the scrolled panel of rows and its scroll
// bar, the reading buttons and switches of the browse page, and the reset and
// instruction of the recall pages.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutFullText() {
  Shape8.move(2670, 1439, 8805, 5849);
  Shape8.setBorderColor(kLine);
  Picture5.move(2685, 1455, 8775, 5818);
  Picture5.setBackColor(ui::kWhite);
  Picture2.move(0, 0, 8520, 5818);
  Picture2.setBackColor(ui::kWhite);
  layOutRowTemplates();
  layOutScrollBar();

  Frame3.move(2685, 7348, 8790, 465);
  button(Command6, 120, 45, 1200, 375, "全文朗读");
  button(Command7, 1440, 45, 1200, 375, "暂停朗读");
  Command7.setEnabled(false);
  Frame9.move(2900, 90, 2600, 285);
  toggle(Label23, Image12, 30, "    显示中文句子");
  toggle(Label31, Image27, 495, "    显示英文");

  button(Command16, 10830, 7382, 400, 435, "重置");
  text(Label7.add(13, *this), 2750, 7542, "");
}

// Element 0 of each row array: the rows of a lesson are copies of these.
void Form1::layOutRowTemplates() {
  for (auto* band : {&Label17.add(0, Picture2), &Label18.add(0, Picture2)}) {
    band->setTransparent(true);
    band->move(1000, 0, 7420, 300);
    band->setVisible(false);
  }
  ui::Label& record = Label5.add(0, Picture2);
  record.move(-20000, 0, 600, 180);
  record.setVisible(false);
  ui::Label& english = Label6.add(0, Picture2);
  english.setFont(kTimes1425);
  english.setForeColor(ui::kBlack);
  english.setBackColor(ui::kWhite);
  english.move(1000, 240);
  english.setAutoSize(true);
  english.setMousePointer(ui::Pointer::Hand);
  english.setVisible(false);
  ui::Label& chinese = Label8.add(0, Picture2);
  chinese.setFont(kNewSong105);
  chinese.setForeColor(ui::kBlack);
  chinese.setBackColor(ui::kWhite);
  chinese.move(1000, -60, 600, 210);
  chinese.setAutoSize(true);
  chinese.setHeight(210);  // the first row is measured from the template's bottom
  chinese.setVisible(false);
  ui::Label& number = Label12.add(0, Picture2);
  text(number, 400, 240, "", kTimes1425, ui::kBlack);
  number.setVisible(false);
  ui::Line& underline = Line3.add(0, Picture2);
  underline.setBorderColor(kLine);
  underline.setVisible(false);
  ui::Picture& icon = Image2.add(0, Picture2);
  icon.move(40, 240, 915, 300);
  icon.setPicture(skinFile("play_icon.png"));
  icon.setMousePointer(ui::Pointer::Hand);
  icon.setVisible(false);
}

void Form1::layOutScrollBar() {
  button(Command32, 8520, 0, 240, 255, "");
  Command32.setPicture(skinFile("scroll_up.png"));
  Command32.setAccessibleName("向上滚动");
  button(Command33, 8520, 5550, 240, 255, "");
  Command33.setPicture(skinFile("scroll_down.png"));
  Command33.setAccessibleName("向下滚动");
  Image32.move(8520, 255, 240, 5295);
  Image32.setPicture(skinFile("scroll_bar.png"));
  Image33.move(8520, 255, 240, 555);
  Image33.setPicture(skinFile("scroll_thumb.png"));
  EnFaImage.move(8520, 0, 240, 2775);
  EnFaImage.setPicture(skinFile("enfa.png"));
  EnUnderImage.move(8520, 2775, 240, 3043);
  EnUnderImage.setPicture(skinFile("enunder.png"));
}

void Form1::wireFullText() {
  // The rows: a line and its band give the same toggle.
  Label6.MouseDown = [this](int i, const ui::MouseEvent& e) { Label6_MouseDown(i, e); };
  Label6.MouseUp = [this](int i, const ui::MouseEvent& e) { Label6_MouseUp(i, e); };
  Label18.MouseDown = [this](int i, const ui::MouseEvent& e) { Label18_MouseDown(i, e); };
  Label18.MouseUp = [this](int i, const ui::MouseEvent& e) { Label18_MouseUp(i, e); };
  Label8.MouseDown = [this](int i, const ui::MouseEvent& e) { Label8_MouseDown(i, e); };
  Label8.MouseUp = [this](int i, const ui::MouseEvent& e) { Label8_MouseUp(i, e); };
  Label17.MouseDown = [this](int i, const ui::MouseEvent& e) { Label8_MouseDown(i, e); };
  Label17.MouseUp = [this](int i, const ui::MouseEvent& e) { Label8_MouseUp(i, e); };
  Image2.MouseDown = [this](int i, const ui::MouseEvent& e) { Image2_MouseDown(i, e); };
  Image2.MouseUp = [this](int i, const ui::MouseEvent& e) { Image2_MouseUp(i, e); };
  Picture2.Click = [this] { Picture2_Click(); };
  Picture5.Click = [this] { Picture2_Click(); };
  // The scroll bar.
  Command32.Click = [this] { Command32_Click(); };
  Command33.Click = [this] { Command33_Click(); };
  Image33.MouseDown = [this](const ui::MouseEvent& e) { Image33_MouseDown(e); };
  Image33.MouseMove = [this](const ui::MouseEvent& e) { Image33_MouseMove(e); };
  // Reading the whole text, its switches, the recall pages' reset.
  Command6.Click = [this] { Command6_Click(); };
  Command7.Click = [this] { Command7_Click(); };
  Label23.Click = [this] { Label23_Click(); };
  Image12.Click = [this] { Label23_Click(); };
  Label31.Click = [this] { Label31_Click(); };
  Image27.Click = [this] { Label31_Click(); };
  Command16.Click = [this] { Command16_Click(); };
}

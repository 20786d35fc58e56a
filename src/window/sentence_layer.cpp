// The sentence layer: the English, its mask, the Chinese and the answer box
// in their three boxes, with the sentence page's buttons, repeat choice,
// position and switches around them.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutSentenceLayer() {
  for (ui::Shape* s : {&Shape1, &Shape2, &Shape3}) {
    s->setBorderColor(kLine);
    s->setFillColor(ui::kWhite);
  }
  Shape1.move(2670, 1620, 8775, 1846);
  Shape2.move(2670, 3576, 8775, 1846);
  Shape3.move(2670, 5520, 8775, 1846);
  text(Label35, 2925, 1845, "英文：");
  box(Label1, 3570, 1770, 7575, 1635, kArial15);
  box(Label51, 3570, 1770, 7575, 1635, kTimes15);
  text(Label36, 2925, 3735, "中文：");
  box(Label2, 3570, 3720, 7695, 1350, kSong12);
  box(Label46, 3570, 4035, 7785, 1020, kSong105, kNoteGrey);
  text(Label7.add(2, *this), 2925, 5670, "拼写：");
  Text2.move(3570, 5585, 7680, 1575);
  Text2.setFont(kArial15);
  layOutSentenceControls();
}

void Form1::layOutSentenceControls() {
  Frame5.move(2550, 1109, 6225, 465);
  button(Command3, 120, 45, 1000, 375, "首句");
  button(Command2, 1200, 45, 1000, 375, "上一句");
  button(Command1, 2280, 45, 1000, 375, "下一句");
  button(Command4, 3360, 45, 1000, 375, "朗读");
  button(Command5, 4440, 975, 1000, 375, "提示(&H)");

  Frame2.move(9330, 1080, 1920, 450);
  text(Label9, 0, 135, "每句朗读");
  Combo2.move(780, 60, 720, 330);
  button(Command30, 1245, 60, 255, 330, "");
  text(Label15, 1560, 135, "次");
  text(Label16, 1950, 135, "间隔");
  Combo3.move(2400, 60, 720, 330);
  button(Command31, 2865, 60, 255, 330, "");
  text(Label19, 3180, 135, "秒");
  for (Command* b : {&Command30, &Command31}) b->setPicture(skinFile("dropdown.png"));
  Command30.setAccessibleName("每句朗读次数");
  Command31.setAccessibleName("间隔秒数");
  for (ui::ComboBox* c : {&Combo2, &Combo3}) c->setFont(kSong9);
  Combo2.setText("1");
  Combo3.setText("0");

  Frame1.move(kSentenceProgressLeft, 7484, 900, 345);
  text(Label7.add(5, Frame1), 0, 75, "");

  Frame7.move(2730, 7474, 1125, 330);
  toggle(Label21, Image10, 60, "   显示英文");
  Frame8.move(3915, 7484, 2460, 285);
  toggle(Label22, Image11, 45, "    显示中文");
}

void Form1::wireSentenceLayer() {
  // Every key of the answer box; Enter checks the answer.
  Text2.KeyPress = [this](int& k) { Text2_KeyPress(k); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  // The player: Play, the end watcher, the interval between plays.
  Command4.Click = [this] { Command4_Click(); };
  Timer1.setInterval(30);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.setInterval(10);
  Timer2.Tick = [this] { Timer2_Timer(); };
  Combo2.Click = [this] { Combo2_Click(); };
  Combo3.Click = [this] { Combo3_Click(); };
  Command30.Click = [this] { Command30_Click(); };
  Command31.Click = [this] { Command31_Click(); };
  // A switch answers on its caption and on its picture.
  Label21.Click = [this] { Label21_Click(); };
  Image10.Click = [this] { Label21_Click(); };
  Label22.Click = [this] { Label22_Click(); };
  Image11.Click = [this] { Label22_Click(); };
}

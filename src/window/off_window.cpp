// The elements that lie outside the window or under the lesson tree, where
// the program keeps values and groups the learner never sees: the switches'
// check boxes, the book holder, the key receiver, the sentence and score
// holders, the lesson list, the speed selector and the dictation counters.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

namespace {

void hiddenHolder(ui::Label& l, int left, int top) {
  l.move(left, top, 600, 180);
  l.setVisible(false);
}

}  // namespace

void Form1::layOutOffWindowHolders() {
  Check1.setCaption("句子英文提示");
  Check2.setCaption("句子中文提示");
  Check3.setCaption("显示中文");
  Check4.setCaption("句子中文提示");
  int checkTop = 9000;
  for (ui::CheckBox* c : {&Check1, &Check2, &Check3, &Check4, &Check5}) {
    c->move(15000, checkTop, 1800, 300);
    checkTop += 330;
  }
  Check1.setValue(1), Check2.setValue(1), Check3.setValue(1), Check4.setValue(0);
  Check5.setValue(1);

  Combo1.move(690, 9825, 1800, 330);
  Combo1.setFont(kSong9);
  Combo4.move(690, 3450, 1095, 300);
  Combo4.setAccessibleName("全文滚动");
  hiddenHolder(Label3, 690, 4000);
  hiddenHolder(Label4, 690, 4200);
  hiddenHolder(Label30, 690, 4400);
  hiddenHolder(Label32, 690, 4600);
  Picture6.move(690, 4800, 795, 480);
  List1.move(0, 600, 795, 400);

  Frame6.move(2685, 11010, 8000, 400);
  text(Label7.add(20, Frame6), 0, 60, "");
  text(Label7.add(12, Frame6), 4000, 60, "");

  layOutSpeedSelector();
  layOutDictationCounters();
}

void Form1::layOutSpeedSelector() {
  Frame4.move(15885, 10965, 4200, 700);
  text(Label41, 0, 60, "语速调节：");
  const char* speeds[] = {"    慢速", "    常速", "    快速"};
  for (int i = 0; i < 3; ++i) {
    ui::Label& l = Label20.add(i, Frame4);
    ui::Picture& p = Image9.add(i, Frame4);
    text(l, 1100 + i * 900, 60, speeds[i]);
    l.setMousePointer(ui::Pointer::Hand);
    p.move(1100 + i * 900, 45, 195, 195);
    p.setPicture(path(i == 1 ? "\\bitmap\\t.jpg" : "\\bitmap\\f.jpg"));
  }
  Option1.setCaption("慢速");
  Option2.setCaption("常速");
  Option3.setCaption("快速");
  Option1.move(1100, 360, 800, 300);
  Option2.move(2000, 360, 800, 300);
  Option3.move(2900, 360, 800, 300);
  Option2.setValue(true);
}

void Form1::layOutDictationCounters() {
  Frame12.move(2685, 13155, 4200, 300);
  text(Label42, 0, 60, "提示：");
  text(Label27, 600, 60, "0");
  text(Label43, 1200, 60, "错误：");
  text(Label28, 1800, 60, "0");
  text(Label44, 2400, 60, "复读：");
  text(Label29, 3000, 60, "0");
  Frame14.move(2685, 9060, 5000, 300);
  text(Label45, 0, 60, "快捷键：F7复读，F8提示，F9重做");
  text(Label13, 9000, 10260, "录音音量调节>>");
}

void Form1::wireOffWindowHolders() {
  // The display switches' values: setting one runs its reaction.
  Check1.Click = [this] { Check1_Click(); };
  Check2.Click = [this] { Check2_Click(); };
  Check3.Click = [this] { Check3_Click(); };
  Check4.Click = [this] { Check4_Click(); };
  Check5.Click = [this] { Check5_Click(); };
  // The book holder: a book change loads its lesson a tick later.
  Combo1.Click = [this] { Combo1_Click(); };
  Timer3.setInterval(10);
  Timer3.Tick = [this] { Timer3_Timer(); };
  List1.MouseUp = [this](const ui::MouseEvent& e) { List1_MouseUp(e); };
  // The key receiver scrolls the full text.
  Combo4.KeyDown = [this](int key) { Combo4_KeyDown(key); };
  // The speed selector.
  Label20.Click = [this](int i) { Label20_Click(i); };
  Option1.Click = [this] { Option1_Click(); };
  Option2.Click = [this] { Option2_Click(); };
  Option3.Click = [this] { Option3_Click(); };
}

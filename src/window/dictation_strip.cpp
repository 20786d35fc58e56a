// The dictation page's strips: its buttons, the pass mark, the progress bar
// and the shortcut line shown over the answer box.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutDictationStrip() {
  Frame11.move(2565, 1080, 5835, 480);
  button(Command22, 120, 60, 1000, 375, "复读");
  button(Command23, 1200, 60, 1000, 375, "提示");
  button(Command25, 2280, 60, 1000, 375, "重做");
  button(Command28, 3360, 60, 1000, 375, "成绩");
  button(Command24, 4440, 930, 1000, 375, "首句(&F)");

  Frame13.move(8970, 1125, 2535, 450);
  text(Label25, 0, 135, "过关分数：");
  Combo5.move(1000, 60, 900, 330);
  button(Command29, 1645, 60, 255, 330, "");
  Command29.setPicture(skinFile("dropdown.png"));
  Command29.setAccessibleName("过关分数");
  text(Label26, 2000, 135, "分");
  Combo5.setFont(kSong9);
  Combo5.setText("60");
  // The notice ends just left of "过关分数：" (placed when shown).
  text(Label56, 0, 1260, "", kSong9, ui::rgb(200, 32, 32));
  Label56.setVisible(false);

  Frame21.move(8245, 7425, 3390, 375);
  text(Label40, 0, 105, "进度：");
  text(Label33, 600, 105, "0");
  text(Label7.add(36, Frame21), 800, 105, "/");
  text(Label34, 1000, 105, "0");
  Picture9.move(1800, 112, 1500, 150);
  Picture9.setPicture(skinFile("progress_track.png"));
  Picture10.move(-1500, 0, 1500, 150);
  Picture10.setPicture(skinFile("progress_fill.png"));

  // The key hint stands in the foot row of the page, between the Chinese hint
  // switch and the sentence position, over no text and no control.
  text(Label53, 0, 0, "F7复读，F8提示，回车检查", kSong9, kNoteGrey);
  const int positionLeft = Frame21.left() - Frame1.width() - 60;  // Frame1 on this page
  Picture12.move(positionLeft - 300 - Label53.width(), 7544, Label53.width(), 195);
  Picture12.setBackColor(ui::kWhite);
  Picture12.setVisible(false);
}

void Form1::wireDictationStrip() {
  Command22.Click = [this] { Command22_Click(); };
  Command23.Click = [this] { Command23_Click(); };
  Command25.Click = [this] { Command25_Click(); };
  Command28.Click = [this] { Command28_Click(); };
  Command24.Click = [this] { Command24_Click(); };
  // The pass mark is checked on Enter and when the box loses the focus.
  Combo5.Change = [this] { Combo5_Change(); };
  Combo5.Click = [this] { Combo5_Click(); };
  Combo5.KeyDown = [this](int key) {
    if (key == ui::kKeyReturn) checkPassMark();
  };
  Combo5.LostFocus = [this] { Combo5_LostFocus(); };
  Timer5.setInterval(5000);
  Timer5.Tick = [this] { Timer5_Timer(); };
  Command29.Click = [this] { Command29_Click(); };
}

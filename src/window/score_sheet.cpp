// The score sheet: the book's lessons with their marks, over everything while
// it is shown.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutScoreSheet() {
  Picture8.move(4200, 1500, 5400, 5200);
  Picture8.setBackColor(kPanel);
  text(Label7.add(31, Picture8), 300, 240, "本册听写成绩", kSong9Bold);
  text(Label7.add(32, Picture8), 300, 600, "带☆号的为未过关课程，带★号的为已过关课程。");
  Picture7.move(300, 960, 4800, 3360);
  List2.move(0, 0, 4800, 3360);
  List2.setFont(kSong9);
  button(Command26, 1500, 4550, 1000, 375, "清除");
  button(Command27, 2900, 4550, 1000, 375, "关闭");
  Command& sheetClose = Command17.add(3, Picture8);
  button(sheetClose, 5070, 105, 225, 225, "");
  sheetClose.setPicture(skinFile("close_small.png"));
  sheetClose.setAccessibleName("关闭");
  Picture8.setVisible(false);
}

void Form1::wireScoreSheet() {
  Command26.Click = [this] { Command26_Click(); };
  Command27.Click = [this] { Command27_Click(); };
  // The sheet's own close button; the array's handler serves the title bar.
  Command17(3).Click = [this] { Command27_Click(); };
}

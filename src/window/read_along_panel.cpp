// The read-along panel: the sentence on a white display with the take beside
// the model under it, the hint switch, and the buttons that record and
// compare.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutReadAlong() {
  Picture4.move(2570, 1020, 9090, 6810);
  Picture4.setBackColor(kPanel);
  button(Command15, 240, 120, 1000, 375, "首句");
  button(Command13, 1320, 120, 1000, 375, "上一句");
  button(Command14, 2400, 120, 1000, 375, "下一句");
  ui::Label& display = Label7.add(11, Picture4);
  display.setBackColor(ui::kWhite);
  display.move(240, 600, 8610, 4500);
  // The sentence is drawn on the white display, not under it.
  Label10.raise();
  Label11.raise();
  Label10.setFont(kArial15);
  Label10.setTransparent(true);
  Label10.move(600, 900);
  Label10.setAutoSize(true);
  box(Label11, 600, 1500, 7800, kReadAlongChineseHeight, kSong12);
  layOutTakeDisplay();
  Frame10.move(240, 5250, 2600, 285);
  toggle(Label24, Image13, 45, "    句子中文提示");
  button(Command8, 240, 5800, 1500, 450, "录音");
  button(Command9, 1860, 5800, 1500, 450, "循环对比");
  button(Command10, 3480, 5800, 1500, 450, "停止");
  button(Command11, 5100, 5800, 1500, 450, "标准发音");
  button(Command12, 6720, 5800, 1500, 450, "您的发音");
  Command9.setEnabled(false);
  Command10.setEnabled(false);
  Command12.setEnabled(false);
}

// The take beside the model, under the sentence; placed by ty.
void Form1::layOutTakeDisplay() {
  TraceView1.setColors({kNavy, kTakeInk, rgb(206, 214, 226), kInk});
  TraceView1.setFont(kSong9);
  TraceView1.setLegend("标准发音", "您的发音", "上：音高　下：响度");
  text(Label54, 600, 4700, "", kSong105);
  text(Label55, 4000, 4700, "", kSong105, kTakeInk);
  for (ui::Element* e : {static_cast<ui::Element*>(&TraceView1),
                         static_cast<ui::Element*>(&Label54), static_cast<ui::Element*>(&Label55)})
    e->raise();
}

void Form1::wireReadAlong() {
  Command15.Click = [this] { Command15_Click(); };
  Command13.Click = [this] { Command13_Click(); };
  Command14.Click = [this] { Command14_Click(); };
  Label24.Click = [this] { Label24_Click(); };
  Image13.Click = [this] { Label24_Click(); };
  // Recording and comparison; the mark follows the loop on the traces.
  Command8.Click = [this] { Command8_Click(); };
  Command9.Click = [this] { Command9_Click(); };
  Command10.Click = [this] { Command10_Click(); };
  Command11.Click = [this] { Command11_Click(); };
  Command12.Click = [this] { Command12_Click(); };
  Timer4.setInterval(40);
  Timer4.Tick = [this] { Timer4_Timer(); };
  MMControl1.Done = [this] { MMControl1_Done(); };
}

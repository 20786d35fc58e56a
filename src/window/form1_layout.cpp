// Form1's elements at their design-time places (twips), with their captions,
// fonts and colours. Elements that the learner never sees lie outside the
// window or under the lesson tree, where the program keeps values in them.
#include "platform/text/files.h"
#include "window/form1.h"

namespace {

using ui::Font;
using ui::rgb;

const ui::Color kInk = rgb(24, 40, 72);          // captions on the light areas
const ui::Color kNavy = rgb(16, 48, 112);        // status strip
const ui::Color kTabInk = rgb(28, 58, 118);      // tab captions
const ui::Color kNoteGrey = rgb(120, 120, 120);  // the note under the Chinese
const ui::Color kPanel = rgb(246, 249, 253);     // read-along and score panels
const ui::Color kLine = rgb(160, 172, 190);      // outlines and underlines
const ui::Color kTakeInk = rgb(214, 98, 18);     // the learner's voice on the traces

const Font kSong9{"宋体", 9};
const Font kSong9Bold{"宋体", 9, true};
const Font kSong12{"宋体", 12};
const Font kSong105{"宋体", 10.5};
const Font kNewSong105{"新宋体", 10.5};
const Font kArial9Bold{"Arial", 9, true};
const Font kArial15{"Arial", 15};
const Font kTimes1425{"Times New Roman", 14.25};
const Font kTimes15{"Times New Roman", 15};

// A caption label that takes the size of its text on one line.
void text(ui::Label& l, int left, int top, const std::string& caption, const Font& font = kSong9,
          ui::Color ink = kInk) {
  l.setTransparent(true);
  l.setFont(font);
  l.setForeColor(ink);
  l.setAutoSize(true);
  l.move(left, top);
  l.setCaption(caption);
}

// A label of fixed size whose text wraps inside it.
void box(ui::Label& l, int left, int top, int width, int height, const Font& font,
         ui::Color ink = ui::kBlack) {
  l.setTransparent(true);
  l.setFont(font);
  l.setForeColor(ink);
  l.move(left, top, width, height);
}

void button(CSCommand::Command& b, int left, int top, int width, int height,
            const std::string& caption) {
  b.move(left, top, width, height);
  b.setCaption(caption);
}

// A toggle switch: a label that starts with spaces and its picture over the
// label's left end.
// A switch: its picture, then its caption. The caption's leading blanks make
// room for the picture; where they are narrower than the picture in the font
// at hand, the caption moves right so its words start after it.
void toggle(ui::Label& label, ui::Picture& picture, int top, const std::string& caption) {
  text(label, 0, top + 15, caption.substr(0, caption.find_first_not_of(' ')));
  const int blanks = label.width();
  label.setCaption(caption);
  label.setLeft(std::max(0, 195 + 30 - blanks));
  label.setMousePointer(ui::Pointer::Hand);
  picture.move(0, top, 195, 195);
  picture.setMousePointer(ui::Pointer::Hand);
  picture.setAccessibleName(caption);
}

void hiddenHolder(ui::Label& l, int left, int top) {
  l.move(left, top, 600, 180);
  l.setVisible(false);
}

}  // namespace

std::vector<std::string> Form1::pictureFolders(const std::string& programFolder) {
  return {platform::programPath(programFolder, "\\skin"),
          platform::programPath(programFolder, "\\bitmap")};
}

void Form1::buildElements() {
  const std::string skin = path("\\skin\\");
  CSCommand::Command::setSkinFolder(path("\\skin"));

  // ---- the window ----
  setCaption("Parlenda");
  setIcon(skin + "icon.png");
  move(0, 0, 11700, 8325);
  setPicture(skin + "skin.jpg");

  // ---- hidden values and groups outside the window ----
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

  // ---- the lesson tree ----
  ImageList1.add(skin + "tree_1.png");
  ImageList1.add(skin + "tree_2.png");
  TreeView1.move(120, 1170, 2340, 6720);
  TreeView1.setFont(kSong9);

  // ---- title bar, tabs, status strip ----
  text(Label7.add(14, *this), 390, 120, "Parlenda 2.0", kArial9Bold, ui::kWhite);
  Image30.move(330, 405, 1020, 615);
  Image30.setPicture(skin + "tab_marker.png");
  struct Tab {
    int mode, captionIndex, left, captionLeft;
    const char* caption;
  };
  const Tab tabs[] = {{1, 0, 390, 460, "句子学习"},    {2, 1, 1415, 1515, "全文浏览"},
                      {3, 15, 2485, 2570, "回想中文"}, {4, 16, 3535, 3625, "回想英文"},
                      {5, 17, 4585, 4680, "跟读对比"}, {8, 24, 5635, 5735, "听写测试"}};
  for (const Tab& t : tabs) {
    ui::Label& c = Label7.add(t.captionIndex, *this);
    box(c, t.captionLeft, 615, 720, 210, kSong9, kTabInk);  // the whole ink of the line
    c.setAlignment(ui::Align::Center);
    c.setCaption(t.caption);
  }
  for (const Tab& t : tabs) {
    ui::Label& k = Label14.add(t.mode, *this);
    k.setTransparent(true);
    k.move(t.left, 390, 900, 660);
    k.setMousePointer(ui::Pointer::Hand);
    k.setAccessibleName(t.caption);
  }
  text(Label48, 390, 8040, "当前版本： 2.0", kSong9, kNavy);
  text(Label37, 2760, 8040, "", kSong9, kNavy);

  // ---- sentence layer ----
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

  // ---- page groups ----
  Frame5.move(2550, 1109, 6225, 465);
  button(Command3, 120, 45, 1000, 375, "首句");
  button(Command2, 1200, 45, 1000, 375, "上一句");
  button(Command1, 2280, 45, 1000, 375, "下一句");
  button(Command4, 3360, 45, 1000, 375, "朗读");
  button(Command5, 4440, 975, 1000, 375, "提示(&H)");

  Frame11.move(2565, 1080, 5835, 480);
  button(Command22, 120, 60, 1000, 375, "复读");
  button(Command23, 1200, 60, 1000, 375, "提示");
  button(Command25, 2280, 60, 1000, 375, "重做");
  button(Command28, 3360, 60, 1000, 375, "成绩");
  button(Command24, 4440, 930, 1000, 375, "首句(&F)");

  Frame2.move(9330, 1080, 1920, 450);
  text(Label9, 0, 135, "每句朗读");
  Combo2.move(780, 60, 720, 330);
  button(Command30, 1245, 60, 255, 330, "");
  text(Label15, 1560, 135, "次");
  text(Label16, 1950, 135, "间隔");
  Combo3.move(2400, 60, 720, 330);
  button(Command31, 2865, 60, 255, 330, "");
  text(Label19, 3180, 135, "秒");
  for (CSCommand::Command* b : {&Command29, &Command30, &Command31})
    b->setPicture(skin + "dropdown.png");
  Command30.setAccessibleName("每句朗读次数");
  Command31.setAccessibleName("间隔秒数");
  Command29.setAccessibleName("过关分数");

  Frame13.move(8970, 1125, 2535, 450);
  text(Label25, 0, 135, "过关分数：");
  Combo5.move(1000, 60, 900, 330);
  button(Command29, 1645, 60, 255, 330, "");
  text(Label26, 2000, 135, "分");
  for (ui::ComboBox* c : {&Combo2, &Combo3, &Combo5}) c->setFont(kSong9);
  Combo2.setText("1");
  Combo3.setText("0");
  Combo5.setText("60");

  Frame1.move(kSentenceProgressLeft, 7484, 900, 345);
  text(Label7.add(5, Frame1), 0, 75, "");

  Frame7.move(2730, 7474, 1125, 330);
  toggle(Label21, Image10, 60, "   显示英文");
  Frame8.move(3915, 7484, 2460, 285);
  toggle(Label22, Image11, 45, "    显示中文");

  Frame21.move(8245, 7425, 3390, 375);
  text(Label40, 0, 105, "进度：");
  text(Label33, 600, 105, "0");
  text(Label7.add(36, Frame21), 800, 105, "/");
  text(Label34, 1000, 105, "0");
  Picture9.move(1800, 112, 1500, 150);
  Picture9.setPicture(skin + "progress_track.png");
  Picture10.move(-1500, 0, 1500, 150);
  Picture10.setPicture(skin + "progress_fill.png");

  Frame3.move(2685, 7348, 8790, 465);
  button(Command6, 120, 45, 1200, 375, "全文朗读");
  button(Command7, 1440, 45, 1200, 375, "暂停朗读");
  Command7.setEnabled(false);
  Frame9.move(2900, 90, 2600, 285);
  toggle(Label23, Image12, 30, "    显示中文句子");
  toggle(Label31, Image27, 495, "    显示英文");

  button(Command16, 10830, 7382, 400, 435, "重置");
  text(Label7.add(13, *this), 2750, 7542, "");

  Picture12.move(9000, 7140, 2400, 195);
  Picture12.setBackColor(ui::kWhite);
  text(Label53, 0, 0, "F7复读，F8提示，回车检查", kSong9, kNoteGrey);
  Picture12.setVisible(false);

  // ---- full-text viewport and its row templates ----
  Shape8.move(2670, 1439, 8805, 5849);
  Shape8.setBorderColor(kLine);
  Picture5.move(2685, 1455, 8775, 5818);
  Picture5.setBackColor(ui::kWhite);
  Picture2.move(0, 0, 8520, 5818);
  Picture2.setBackColor(ui::kWhite);
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
  icon.setPicture(skin + "play_icon.png");
  icon.setMousePointer(ui::Pointer::Hand);
  icon.setVisible(false);

  button(Command32, 8520, 0, 240, 255, "");
  Command32.setPicture(skin + "scroll_up.png");
  Command32.setAccessibleName("向上滚动");
  button(Command33, 8520, 5550, 240, 255, "");
  Command33.setPicture(skin + "scroll_down.png");
  Command33.setAccessibleName("向下滚动");
  Image32.move(8520, 255, 240, 5295);
  Image32.setPicture(skin + "scroll_bar.png");
  Image33.move(8520, 255, 240, 555);
  Image33.setPicture(skin + "scroll_thumb.png");
  EnFaImage.move(8520, 0, 240, 2775);
  EnFaImage.setPicture(skin + "enfa.png");
  EnUnderImage.move(8520, 2775, 240, 3043);
  EnUnderImage.setPicture(skin + "enunder.png");

  // ---- read-along panel ----
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
  // The take beside the model, under the sentence; placed by ty.
  TraceView1.setColors({kNavy, kTakeInk, rgb(206, 214, 226), kInk});
  TraceView1.setFont(kSong9);
  TraceView1.setLegend("标准发音", "您的发音", "上：音高　下：响度");
  text(Label54, 600, 4700, "", kSong105);
  text(Label55, 4000, 4700, "", kSong105, kTakeInk);
  for (ui::Element* e : {static_cast<ui::Element*>(&TraceView1),
                         static_cast<ui::Element*>(&Label54), static_cast<ui::Element*>(&Label55)})
    e->raise();
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

  // ---- score sheet ----
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
  sheetClose.setPicture(skin + "close_small.png");
  sheetClose.setAccessibleName("关闭");
  Picture8.setVisible(false);

  // ---- window chrome ----
  Command& close = Command17.add(0, *this);
  button(close, 11250, 0, 315, 285, "");
  close.setBare(true);
  close.setAccessibleName("关闭");
  Command& minimise = Command17.add(1, *this);
  button(minimise, 10635, 0, 300, 285, "");
  minimise.setBare(true);
  minimise.setAccessibleName("最小化");
  text(Label38, 10875, 645, "迷你模式", kSong9, kNavy);
  text(Label39, 9690, 645, "更多软件", kSong9, kNavy);
  Label38.setMousePointer(ui::Pointer::Hand);
  Label39.setMousePointer(ui::Pointer::Hand);

  // The panels lie above the sentence layer and cover it while shown; the
  // score sheet and the title-bar buttons lie above everything.
  for (ui::Element* e :
       {static_cast<ui::Element*>(&Picture5), static_cast<ui::Element*>(&Shape8),
        static_cast<ui::Element*>(&Picture4), static_cast<ui::Element*>(&Picture12),
        static_cast<ui::Element*>(&Picture8)})
    e->raise();
  for (int k : {1, 2, 3, 4, 5, 8}) Label14(k).raise();
  Command17(0).raise();
  Command17(1).raise();
}

// The title bar with the window's buttons and links, the page tabs under it,
// and the status line at the foot of the window.
#include "window/form1.h"
#include "window/layout.h"
#include "window/skin_places.h"

using namespace layout;
using namespace skin_places;

void Form1::layOutTitleBar() {
  text(Label7.add(14, *this), 390, 120, "Parlenda 2.0", kArial9Bold, ui::kWhite);
  Image30.move(330, kTabTop, 1020, kTabHeight);
  Image30.setPicture(skinFile("tab_marker.png"));
  layOutTabs();
  text(Label48, 390, 8040, "当前版本： 2.0", kSong9, kNavy);
  text(Label37, 2760, 8040, "", kSong9, kNavy);

  Command& close = Command17.add(0, *this);
  button(close, kCloseLeft, 0, 315, 285, "");
  close.setBare(true);
  close.setAccessibleName("关闭");
  Command& minimise = Command17.add(1, *this);
  button(minimise, kMinimiseLeft, 0, 300, 285, "");
  minimise.setBare(true);
  minimise.setAccessibleName("最小化");
  text(Label38, kMiniModeLeft, kLinkTop, "迷你模式", kSong9, kNavy);
  text(Label39, kMoreSoftwareLeft, kLinkTop, "更多软件", kSong9, kNavy);
  Label38.setMousePointer(ui::Pointer::Hand);
  Label39.setMousePointer(ui::Pointer::Hand);
}

// Each tab is a caption (Label7) under a transparent click area (Label14,
// indexed by its study mode).
void Form1::layOutTabs() {
  struct Tab {
    int mode, captionIndex, left, captionLeft;
    const char* caption;
  };
  const Tab tabs[] = {
      {1, 0, kTabLefts[0], 460, "句子学习"},   {2, 1, kTabLefts[1], 1515, "全文浏览"},
      {3, 15, kTabLefts[2], 2570, "回想中文"}, {4, 16, kTabLefts[3], 3625, "回想英文"},
      {5, 17, kTabLefts[4], 4680, "跟读对比"}, {8, 24, kTabLefts[5], 5735, "听写测试"},
      {9, 25, kTabLefts[6], 6785, "复习"}};
  for (const Tab& t : tabs) {
    ui::Label& c = Label7.add(t.captionIndex, *this);
    box(c, t.captionLeft, 615, 720, 210, kSong9, kTabInk);  // the whole ink of the line
    c.setAlignment(ui::Align::Center);
    c.setCaption(t.caption);
  }
  for (const Tab& t : tabs) {
    ui::Label& k = Label14.add(t.mode, *this);
    k.setTransparent(true);
    k.move(t.left, 390, kTabWidth, 660);
    k.setMousePointer(ui::Pointer::Hand);
    k.setAccessibleName(t.caption);
  }
}

void Form1::wireTitleBar() {
  Label14.MouseUp = [this](int k, const ui::MouseEvent& e) { Label14_MouseUp(k, e); };
  Command17.Click = [this](int i) {
    if (i == 0) close();
    if (i == 1) minimize();
  };
  Label38.MouseDown = [this](const ui::MouseEvent&) { linkPress(Label38); };
  Label38.MouseUp = [this](const ui::MouseEvent& e) { Label38_MouseUp(e); };
  Label39.MouseDown = [this](const ui::MouseEvent&) { linkPress(Label39); };
  Label39.MouseUp = [this](const ui::MouseEvent& e) { Label39_MouseUp(e); };
}

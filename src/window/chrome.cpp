// The frameless window: moving it, the link labels, dragging the scroll thumb.
#include <cmath>

#include "dialogs/guide.h"
#include "messages/messages.h"
#include "window/form1.h"

namespace {
constexpr int kThumbTop = 255;
const char* kGuide = "\\guide\\index.html";
bool onlyLeft(const ui::MouseEvent& e) { return e.buttons == ui::kLeftButton; }
}  // namespace

void Form1::Form_MouseDown(const ui::MouseEvent& e) {
  dragx = float(e.x);
  dragy = float(e.y);
  if (e.button == ui::kLeftButton) moveWithPointer();  // Wayland: the compositor moves it
}

void Form1::Form_MouseMove(const ui::MouseEvent& e) {
  if (!onlyLeft(e)) return;
  moveOnScreen(screenLeft() - dragx + e.x, screenTop() - dragy + e.y);
}

void Form1::linkPress(ui::Label& l) { l.move(l.left() + 15, l.top() + 15); }
void Form1::linkRelease(ui::Label& l) { l.move(l.left() - 15, l.top() - 15); }

// The mini mode is built in (mini/): the window hides behind its strip.
void Form1::Label38_MouseUp(const ui::MouseEvent&) {
  linkRelease(Label38);
  mini_->enter();
}

// The program's own guide, shipped in its folder.
void Form1::Label39_MouseUp(const ui::MouseEvent&) {
  linkRelease(Label39);
  const std::string guide = path(kGuide);
  if (!dialogs::openGuide(guide))
    ui::msgBox(std::string(messages::kGuideMissing) + guide, ui::kExclamation, kAppTitle);
}

void Form1::Image33_MouseDown(const ui::MouseEvent& e) {
  dragx = float(e.x);
  dragy = float(e.y);
}

void Form1::Image33_MouseMove(const ui::MouseEvent& e) {
  if (!onlyLeft(e)) return;
  int u = int(std::lround(Image33.top() - dragy + e.y));
  const int h = Image33.height();
  if (u < kThumbTop) u = kThumbTop;
  if (Command33.top() < u + h) u = Command33.top() - h;
  Image33.setTop(u);
  const int travel = Command33.top() - Command32.top() - h - kThumbTop;
  if (travel <= 0) return;
  const double p = std::floor(double(u - kThumbTop) / travel * 100);
  Picture2.setTop(int(p * (Picture5.height() - Picture2.height()) / 100));
}

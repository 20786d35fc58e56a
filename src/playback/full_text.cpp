// Full-text reading and the position of the scrolled text.
#include <cmath>

#include "content/lesson_text.h"
#include "window/form1.h"

namespace {
constexpr int kThumbTop = 255;  // the thumb's top when the text is at its start
}

void Form1::scrollToTop() {
  Picture2.setTop(0);
  Image33.setTop(kThumbTop);
}

// The thumb follows the text in hundredths of its travel.
void Form1::placeThumb() {
  const int h = Picture2.height(), v = Picture5.height();
  if (h <= v) {
    Image33.setTop(kThumbTop);
    return;
  }
  const int travel = Command33.top() - Command32.top() - Image33.height() - kThumbTop;
  const double percent = std::floor(-double(Picture2.top()) / (h - v) * 100);
  Image33.setTop(int(percent * travel / 100) + kThumbTop);
}

void Form1::autoread() {
  playcount = 0;
  for (int i = 1; i < Line3.count(); ++i) Line3(i).setVisible(false);
  // A sentence that cannot be played is passed over; the learner is told why.
  bool passedOver = false;
  while (readindex < sentenceCount() && Label5.exists(readindex + 1)) {
    ++readindex;
    content::Record r = content::parseRecord(Label5(readindex).caption());
    hash1 = r.hash[0], hash2 = r.hash[1], hash3 = r.hash[2], hash4 = r.hash[3];
    takeStretch(r);
    if (!playStretch()) {
      passedOver = true;
      continue;
    }
    Line3(readindex).setVisible(true);
    // Bring the English line into view, half a page at a time.
    const ui::Label& line = Label6(readindex);
    const int t = Picture2.top(), v = Picture5.height(), h = Picture2.height();
    if (line.top() + t + line.height() > v) {
      const int half = v / 2;
      Picture2.setTop(h - v + t >= half ? t - half : v - h);
      placeThumb();
    }
    if (passedOver) tellUnplayable();
    return;
  }
  Command6.setCaption("全文朗读");
  Command7.setCaption("暂停朗读");
  Command7.setEnabled(false);
  if (passedOver) tellUnplayable();
}

void Form1::Command6_Click() {
  readindex = 0;
  if (Command6.caption() != "全文朗读") {
    for (int i = 1; i < Line3.count(); ++i) Line3(i).setVisible(false);
    Command6.setCaption("全文朗读");
    Command7.setCaption("暂停朗读");
    Command7.setEnabled(false);
    stopSentence();
  } else {
    Command6.setCaption("停止朗读");
    Command7.setEnabled(true);
    autoread();
  }
  scrollToTop();
  Combo4.setFocus();
}

// A pause also holds a pending interval: the reading goes on only on resume.
void Form1::Command7_Click() {
  if (Command7.caption() != "暂停朗读") {
    Command7.setCaption("暂停朗读");
    if (Timer1.enabled())
      WindowsMediaPlayer1.play();
    else
      Timer2.setEnabled(true);
  } else {
    Command7.setCaption("继续朗读");
    WindowsMediaPlayer1.pause();
    Timer2.setEnabled(false);
  }
  Combo4.setFocus();
}

void Form1::stepUp() {
  const int t = Picture2.top();
  Picture2.setTop(t > -500 ? 0 : t + 500);
  placeThumb();
}

// Only text taller than the viewport scrolls.
void Form1::stepDown() {
  const int t = Picture2.top(), h = Picture2.height(), v = Picture5.height();
  if (h <= v) return;
  Picture2.setTop(h + t - v >= 500 ? t - 500 : v - h);
  placeThumb();
}

void Form1::Command32_Click() {
  stepUp();
  Combo4.setFocus();
}

void Form1::Command33_Click() {
  stepDown();
  Combo4.setFocus();
}

void Form1::Combo4_KeyDown(int keyCode) {
  if (keyCode == ui::kKeyUp) stepUp();
  if (keyCode == ui::kKeyDown) stepDown();
  placeThumb();
}

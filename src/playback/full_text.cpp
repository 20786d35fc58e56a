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
  if (readindex < sentenceCount() && Label5.exists(readindex + 1)) {
    ++readindex;
    content::Record r = content::parseRecord(Label5(readindex).caption());
    hash1 = r.hash[0], hash2 = r.hash[1], hash3 = r.hash[2], hash4 = r.hash[3];
    playstart = r.playable() ? r.start : "";
    playend = r.playable() ? r.end : "";
    Line3(readindex).setVisible(true);
    // A sentence that cannot be played is passed over.
    if (!playStretch()) {
      autoread();
      return;
    }
    // Bring the English line into view, half a page at a time.
    const ui::Label& line = Label6(readindex);
    const int t = Picture2.top(), v = Picture5.height(), h = Picture2.height();
    if (line.top() + t + line.height() > v) {
      const int half = v / 2;
      Picture2.setTop(h - v + t >= half ? t - half : v - h);
      placeThumb();
    }
    return;
  }
  Command6.setCaption("全文朗读");
  Command7.setCaption("暂停朗读");
  Command7.setEnabled(false);
}

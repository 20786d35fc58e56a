// Skinned push buttons (9-slice), the full-text scroll bar, the progress bar and the
// two small picture buttons.
#include <array>

#include "glyphs.h"
#include "painting.h"
#include "pictures.h"

namespace skin {

namespace {
// The four button states share one shape; only the colours change. 24 x 24 with a
// 5 px radius, so a 6 px slice keeps the corners whole.
struct ButtonState {
  const char* file;
  BoxStyle style;
  bool pressed;
};
const std::array kButtonStates{
    ButtonState{"skin/button_normal.png",
                {Qt::white, QColor(0xe2, 0xec, 0xf8), QColor(0x9a, 0xb1, 0xcf),
                 QColor(255, 255, 255, 190), 5},
                false},
    ButtonState{"skin/button_hover.png",
                {Qt::white, QColor(0xd2, 0xe4, 0xfa), QColor(0x55, 0x86, 0xc9),
                 QColor(255, 255, 255, 220), 5},
                false},
    ButtonState{"skin/button_down.png",
                {QColor(0xbf, 0xd4, 0xf0), QColor(0xdf, 0xea, 0xf8), QColor(0x3f, 0x6d, 0xae),
                 QColor(0, 0, 0, 0), 5},
                true},
    ButtonState{"skin/button_disabled.png",
                {QColor(0xf3, 0xf4, 0xf6), QColor(0xe9, 0xeb, 0xee), QColor(0xc6, 0xca, 0xd0),
                 QColor(0, 0, 0, 0), 5},
                false},
};

const BoxStyle kSmallButton{Qt::white, QColor(0xdc, 0xe7, 0xf5), colour::lineDark,
                            QColor(255, 255, 255, 200), 3};

QImage pushButton(const BoxStyle& style, bool pressed) {
  return paintImage(24, 24, [&](QPainter& p) {
    drawRaisedBox(p, QRectF(0, 0, 24, 24), style);
    if (pressed) {  // inner shadow along the top edge
      p.setPen(QPen(QColor(0x1f, 0x4a, 0x86, 60), 1));
      p.drawLine(QPointF(4, 1.5), QPointF(20, 1.5));
    }
  });
}

QImage arrowButton(int width, int height, Direction direction) {
  return paintImage(width, height, [=](QPainter& p) {
    drawRaisedBox(p, QRectF(0, 0, width, height), kSmallButton);
    drawChevron(p, QPointF(width / 2.0, height / 2.0), 3.5, direction, colour::ink);
  });
}

// The scroll track and the two strips that replace it share the left rule and the
// faint groove, so the viewport edge looks the same with or without a scroll bar.
void drawTrack(QPainter& p, int height, const QColor& groove) {
  const QRectF track(0, 0, 16, height);
  QLinearGradient across(0, 0, 16, 0);
  across.setColorAt(0, QColor(0xe9, 0xf0, 0xf8));
  across.setColorAt(1, QColor(0xf5, 0xf8, 0xfc));
  p.fillRect(track, across);
  p.fillRect(QRectF(0, 0, 1, height), colour::line);
  p.fillRect(QRectF(8, 0, 1, height), groove);
}

QImage scrollThumb() {
  return paintImage(16, 37, [](QPainter& p) {
    drawRaisedBox(p, QRectF(2, 0, 13, 37),
                  {QColor(0xd9, 0xe6, 0xf6), QColor(0xb4, 0xcb, 0xe8), QColor(0x6f, 0x92, 0xc2),
                   QColor(255, 255, 255, 150), 4});
    for (const int y : {15, 18, 21})  // grip
      p.fillRect(QRectF(5.5, y, 6, 1), QColor(0x4a, 0x73, 0xad, 170));
  });
}

// A quiet strip with one rounded end: enfa stands above enunder, which continues it.
QImage quietStrip(int height, bool roundTop) {
  return paintImage(16, height, [=](QPainter& p) {
    drawTrack(p, height, QColor(0xdd, 0xe7, 0xf3));
    const qreal capY = roundTop ? 6 : height - 12;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xd8, 0xec));
    p.drawEllipse(QRectF(5.5, capY, 6, 6));
  });
}

QImage progressTrack() {
  return paintImage(100, 10, [](QPainter& p) {
    drawRaisedBox(
        p, QRectF(0, 0, 100, 10),
        {QColor(0xd8, 0xe1, 0xec), QColor(0xee, 0xf2, 0xf7), colour::line, QColor(0, 0, 0, 0), 5});
  });
}

QImage progressFill() {
  return paintImage(100, 10, [](QPainter& p) {
    drawRaisedBox(p, QRectF(0, 0, 100, 10),
                  {QColor(0x4c, 0xc6, 0xb4), colour::accent, QColor(0x15, 0x7d, 0x72),
                   QColor(255, 255, 255, 90), 5});
  });
}

QImage closeButton() {
  return paintImage(15, 15, [](QPainter& p) {
    drawRaisedBox(p, QRectF(0, 0, 15, 15), kSmallButton);
    drawCross(p, QPointF(7.5, 7.5), 2.8, colour::closeRed, 1.6);
  });
}
}  // namespace

bool writeControls(const QString& outputDir) {
  bool ok = true;
  for (const ButtonState& state : kButtonStates)
    ok = savePng(pushButton(state.style, state.pressed), outputDir, state.file) && ok;
  ok = savePng(arrowButton(16, 17, Direction::Up), outputDir, "skin/scroll_up.png") && ok;
  ok = savePng(arrowButton(16, 17, Direction::Down), outputDir, "skin/scroll_down.png") && ok;
  ok = savePng(paintImage(16, 388, [](QPainter& p) { drawTrack(p, 388, colour::line); }), outputDir,
               "skin/scroll_bar.png") &&
       ok;
  ok = savePng(scrollThumb(), outputDir, "skin/scroll_thumb.png") && ok;
  ok = savePng(quietStrip(185, true), outputDir, "skin/enfa.png") && ok;
  ok = savePng(quietStrip(203, false), outputDir, "skin/enunder.png") && ok;
  ok = savePng(progressTrack(), outputDir, "skin/progress_track.png") && ok;
  ok = savePng(progressFill(), outputDir, "skin/progress_fill.png") && ok;
  ok = savePng(arrowButton(17, 20, Direction::Down), outputDir, "skin/dropdown.png") && ok;
  ok = savePng(closeButton(), outputDir, "skin/close_small.png") && ok;
  return ok;
}

}  // namespace skin

// The window icon, the lesson-tree images, the selected-tab marker and the row play icon.
#include <QLinearGradient>
#include <QPainterPath>

#include "glyphs.h"
#include "painting.h"
#include "pictures.h"

namespace skin {

namespace {
QImage windowIcon() {
  return paintImage(64, 64, [](QPainter& p) {
    drawSpeechMark(p, colour::titleTop, colour::titleBottom, colour::titleEdge, Qt::white);
  });
}

QImage lessonPage() {
  return paintImage(16, 16, [](QPainter& p) {
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10, 0.5);
    page.lineTo(13.5, 4);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QPen(colour::lineDark, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(verticalGradient(QRectF(0, 0, 16, 16), Qt::white, QColor(0xea, 0xf1, 0xfa)));
    p.drawPath(page);
    p.setBrush(QColor(0xd3, 0xe1, 0xf2));
    p.drawPolygon(QPolygonF({{10, 0.5}, {10, 4}, {13.5, 4}}));  // folded corner
    for (const int y : {6, 8, 10, 12})
      p.fillRect(QRect(5, y, y == 6 ? 4 : 6, 1), y == 6 ? colour::ink : colour::inkSoft);
  });
}

QImage closedBook() {
  return paintImage(16, 16, [](QPainter& p) {
    // Page block showing along the right and bottom edges of the cover.
    p.setPen(QPen(colour::lineDark, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(4.5, 2.5, 10, 12), 1, 1);
    p.fillRect(QRectF(13, 4, 1, 9), QColor(0xd3, 0xe1, 0xf2));
    p.fillRect(QRectF(6, 13, 7, 1), QColor(0xd3, 0xe1, 0xf2));
    const QRectF cover(1.5, 1.5, 11, 12);
    p.setPen(QPen(colour::titleEdge, 1));
    p.setBrush(verticalGradient(cover, colour::titleTop, colour::titleBottom));
    p.drawRoundedRect(cover, 1.5, 1.5);
    p.fillRect(QRectF(2, 2, 2, 11), colour::titleEdge);            // spine
    p.fillRect(QRectF(5.5, 4, 5, 2), QColor(255, 255, 255, 230));  // title plate
    p.fillRect(QRectF(5.5, 7, 3, 1), QColor(255, 255, 255, 140));
  });
}

// Marker of the selected tab, 68 x 41: a raised, brighter tab that lets the icon under
// it show through; the caption label is drawn on top by the program.
QImage tabMarker() {
  return paintImage(68, 41, [](QPainter& p) {
    const QRectF body(0.5, 0.5, 67, 39);
    QPainterPath below, inside;
    below.addRoundedRect(body.translated(0, 1), 6, 6);
    inside.addRoundedRect(body, 6, 6);
    p.fillPath(below.subtracted(inside), QColor(0x1f, 0x4a, 0x86, 60));  // shadow edge only
    p.setPen(QPen(QColor(0x4a, 0x7c, 0xc2, 210), 1));
    // Nearly clear over the icon rows, fuller under the caption.
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(255, 255, 255, 70));
    fill.setColorAt(0.35, QColor(255, 255, 255, 90));
    fill.setColorAt(1, QColor(0xcf, 0xe1, 0xf8, 190));
    p.setBrush(fill);
    p.drawRoundedRect(body, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 5, 5);
    // Accent bar below the caption (caption rows are 14..26 here).
    p.setPen(Qt::NoPen);
    p.setBrush(colour::ink);
    p.drawRoundedRect(QRectF(18, 32, 32, 3), 1.5, 1.5);
  });
}

// Play icon, 61 x 20: a round play button and a short speaker mark.
QImage playIcon() {
  return paintImage(61, 20, [](QPainter& p) {
    const QRectF button(1.5, 1.5, 17, 17);
    p.setPen(QPen(colour::titleEdge, 1));
    p.setBrush(verticalGradient(button, colour::titleTop, colour::titleBottom));
    p.drawEllipse(button);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{7.6, 5.6}, {14.2, 10}, {7.6, 14.4}}));
    drawSpeaker(p, QPointF(24, 4), 12, 2, colour::inkSoft);
  });
}
}  // namespace

bool writeThemeIcons(const QString& iconDir, const QString& name) {
  bool ok = true;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QImage icon = paintImage(size, size, [size](QPainter& p) {
      p.scale(size / 64.0, size / 64.0);
      drawSpeechMark(p, colour::titleTop, colour::titleBottom, colour::titleEdge, Qt::white);
    });
    ok = savePng(icon, iconDir, QString("%1x%1/%2.png").arg(size).arg(name)) && ok;
  }
  return ok;
}

bool writeMarks(const QString& outputDir) {
  bool ok = savePng(windowIcon(), outputDir, "skin/icon.png");
  ok = savePng(lessonPage(), outputDir, "skin/tree_1.png") && ok;
  ok = savePng(closedBook(), outputDir, "skin/tree_2.png") && ok;
  ok = savePng(tabMarker(), outputDir, "skin/tab_marker.png") && ok;
  ok = savePng(playIcon(), outputDir, "skin/play_icon.png") && ok;
  return ok;
}

}  // namespace skin

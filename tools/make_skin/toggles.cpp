// The 13 x 13 toggle pictures under bitmap/: switch off and on (two accents) and the
// speed option marks. They stand on white panels, so they are drawn on white.
#include "glyphs.h"
#include "painting.h"
#include "pictures.h"

namespace skin {

namespace {
constexpr int kSize = 13;
constexpr int kJpegQuality = 95;
const QRectF kBox(0.5, 0.5, 12, 12);

QImage switchBox(const QColor* accent) {
  return paintImage(
      kSize, kSize,
      [accent](QPainter& p) {
        if (!accent) {
          drawRaisedBox(
              p, QRectF(0, 0, kSize, kSize),
              {Qt::white, QColor(0xe6, 0xed, 0xf6), colour::lineDark, QColor(0, 0, 0, 0), 2.5});
          return;
        }
        drawRaisedBox(
            p, QRectF(0, 0, kSize, kSize),
            {accent->lighter(125), *accent, accent->darker(130), QColor(0, 0, 0, 0), 2.5});
        drawCheck(p, kBox.adjusted(1.5, 1.5, -1.5, -1.5), Qt::white, 1.8);
      },
      Qt::white);
}

QImage speedOption(bool selected) {
  return paintImage(
      kSize, kSize,
      [selected](QPainter& p) {
        p.setPen(QPen(selected ? colour::ink : colour::lineDark, 1));
        p.setBrush(verticalGradient(kBox, Qt::white, QColor(0xe6, 0xed, 0xf6)));
        p.drawEllipse(kBox);
        if (!selected) return;
        const QRectF dot(3.5, 3.5, 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(verticalGradient(dot, colour::titleTop, colour::titleBottom));
        p.drawEllipse(dot);
      },
      Qt::white);
}
}  // namespace

bool writeToggles(const QString& outputDir) {
  bool ok = saveJpeg(switchBox(nullptr), outputDir, "bitmap/0.jpg", kJpegQuality);
  ok = saveJpeg(switchBox(&colour::accent), outputDir, "bitmap/1.jpg", kJpegQuality) && ok;
  ok = saveJpeg(switchBox(&colour::accentAlt), outputDir, "bitmap/a1.jpg", kJpegQuality) && ok;
  ok = saveJpeg(speedOption(true), outputDir, "bitmap/t.jpg", kJpegQuality) && ok;
  ok = saveJpeg(speedOption(false), outputDir, "bitmap/f.jpg", kJpegQuality) && ok;
  return ok;
}

}  // namespace skin

// Shared palette and drawing helpers of the skin generator.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skin {

// One palette for every picture, so the window reads as one piece.
namespace colour {
inline const QColor titleTop{0x3d, 0x74, 0xc0};
inline const QColor titleBottom{0x2b, 0x5f, 0xa8};
inline const QColor titleEdge{0x1f, 0x4a, 0x86};
inline const QColor toolbarTop{0xf2, 0xf7, 0xfd};
inline const QColor toolbarBottom{0xdc, 0xe8, 0xf6};
inline const QColor paneBack{0xee, 0xf4, 0xfb};
inline const QColor treeBack{249, 252, 255};  // the tree paints this itself
inline const QColor mainBack{0xf6, 0xf9, 0xfd};
inline const QColor statusTop{0xe6, 0xee, 0xf8};
inline const QColor statusBottom{0xd3, 0xe0, 0xf0};
inline const QColor line{0xb9, 0xc9, 0xdd};      // soft grey-blue rules
inline const QColor lineDark{0x8e, 0xa4, 0xc2};  // borders that must read
inline const QColor ink{0x2b, 0x5f, 0xa8};       // monochrome icons
inline const QColor inkSoft{0x6f, 0x8c, 0xb5};
inline const QColor accent{0x1c, 0x9a, 0x8c};     // "on" green-blue
inline const QColor accentAlt{0xe0, 0x8a, 0x1e};  // full-text page "on"
inline const QColor closeRed{0xc8, 0x45, 0x3f};
inline const QColor disabled{0xb4, 0xb9, 0xc1};
}  // namespace colour

// A transparent (or filled) ARGB picture ready for painting.
QImage newImage(int width, int height, const QColor& fill = Qt::transparent);

// The density the pictures are drawn for: 1, the design size, or 2 for
// high-density screens (twice the pixels of the same drawing, saved with "@2x"
// before the extension, as Qt names such pictures).
void setDensity(int scale);
int density();

// A width x height picture painted by draw(QPainter&) with anti-aliasing on;
// draw works in design pixels at every density.
template <typename Draw>
QImage paintImage(int width, int height, Draw draw, const QColor& fill = Qt::transparent) {
  QImage image = newImage(width * density(), height * density(), fill);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(density(), density());
  draw(painter);
  painter.end();
  return image;
}

// Vertical two-stop gradient over rect.
QBrush verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom);

// A raised rounded box: gradient body, one-pixel border, a light inner top edge.
struct BoxStyle {
  QColor top, bottom, border, highlight;
  qreal radius;
};
void drawRaisedBox(QPainter& painter, const QRectF& rect, const BoxStyle& style);

// Writes image to dir/relativePath ("@2x" added at density 2), creating folders;
// false (with a message) on failure.
bool savePng(const QImage& image, const QString& dir, const QString& relativePath);
bool saveJpeg(const QImage& image, const QString& dir, const QString& relativePath, int quality);

}  // namespace skin

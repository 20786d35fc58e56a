#include "painting.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainterPath>
#include <cstdio>

namespace skin {

namespace {
int currentDensity = 1;
}

void setDensity(int scale) { currentDensity = scale; }
int density() { return currentDensity; }

QImage newImage(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

QBrush verticalGradient(const QRectF& rect, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  return gradient;
}

void drawRaisedBox(QPainter& painter, const QRectF& rect, const BoxStyle& style) {
  // Half-pixel inset keeps the one-pixel border on whole pixels.
  const QRectF outline = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QPen(style.border, 1));
  painter.setBrush(verticalGradient(outline, style.top, style.bottom));
  painter.drawRoundedRect(outline, style.radius, style.radius);
  if (style.highlight.alpha() > 0) {
    const QRectF inner = outline.adjusted(1, 1, -1, -1);
    painter.setPen(QPen(style.highlight, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, style.radius - 1, style.radius - 1);
  }
}

namespace {
bool write(const QImage& image, const QString& dir, const QString& relativePath, const char* format,
           int quality) {
  QString name = relativePath;
  if (density() != 1) name.insert(name.lastIndexOf('.'), QString("@%1x").arg(density()));
  const QString path = QDir(dir).filePath(name);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    std::fprintf(stderr, "make_skin: cannot create the folder of %s\n", qPrintable(path));
    return false;
  }
  QImageWriter writer(path, format);
  writer.setQuality(quality);
  // JPEG has no alpha: flatten on white, the colour every JPEG here stands on.
  QImage out = image;
  if (qstrcmp(format, "jpeg") == 0) {
    out = QImage(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter flatten(&out);
    flatten.drawImage(0, 0, image);
  }
  if (!writer.write(out)) {
    std::fprintf(stderr, "make_skin: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
  }
  return true;
}
}  // namespace

bool savePng(const QImage& image, const QString& dir, const QString& relativePath) {
  return write(image, dir, relativePath, "png", -1);
}

bool saveJpeg(const QImage& image, const QString& dir, const QString& relativePath, int quality) {
  return write(image, dir, relativePath, "jpeg", quality);
}

}  // namespace skin

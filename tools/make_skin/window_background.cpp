// The 780 x 555 window background. Every position here lines up with an element the
// program places on top (tab captions, link labels, the tree, the title buttons).
#include <QPainterPath>
#include <array>

#include "glyphs.h"
#include "painting.h"
#include "pictures.h"
#include "window/skin_places.h"

namespace skin {

namespace {
constexpr int kWidth = 780, kHeight = 555;
constexpr int kTitleBottom = 20, kToolbarBottom = 75, kStatusTop = 528;
constexpr int kPaneDivider = 167;  // the dotted line between the tree pane and the main area
using skin_places::pixels;
constexpr QRect kTreeArea(pixels(skin_places::kTreeBox.left), pixels(skin_places::kTreeBox.top),
                          pixels(skin_places::kTreeBox.width),
                          pixels(skin_places::kTreeBox.height));
constexpr int kTabWidth = pixels(skin_places::kTabWidth), kTabTop = pixels(skin_places::kTabTop),
              kTabHeight = pixels(skin_places::kTabHeight), kIconTop = 29;
constexpr int kGlobeGap = 16;  // from a globe's left to its link label's
constexpr int kMinimiseLeft = pixels(skin_places::kMinimiseLeft);
constexpr int kCloseLeft = pixels(skin_places::kCloseLeft);
constexpr int kMaximiseLeft = 729;  // the greyed glyph between them has no button
constexpr int kCloseRight = 771;

void drawTitleBand(QPainter& p) {
  const QRectF band(0, 0, kWidth, kTitleBottom);
  p.fillRect(band, verticalGradient(band, colour::titleTop, colour::titleBottom));
  p.fillRect(QRectF(0, 0, kWidth, 1), QColor(0x6a, 0x98, 0xd6));  // top sheen
  p.fillRect(QRectF(0, kTitleBottom - 1, kWidth, 1), colour::titleEdge);

  // App mark at x 6..22: the window icon in white, drawn large and scaled down.
  p.save();
  p.translate(6, 2);
  p.scale(16.0 / 64, 16.0 / 64);
  drawSpeechMark(p, QColor(255, 255, 255), QColor(0xdc, 0xe8, 0xf7), QColor(255, 255, 255, 0),
                 colour::titleBottom);
  p.restore();
}

// Minimise, maximise and close glyphs hanging from the top edge, x 709..771, y 0..19,
// under the window's two buttons.
// The window has a fixed size: the maximise glyph is greyed, as a button that
// is not available.
void drawCaptionGlyphs(QPainter& p) {
  struct Glyph {
    int left, right;
    QColor top, bottom;
  };
  const std::array glyphs{
      Glyph{kMinimiseLeft, kMaximiseLeft, QColor(0x5d, 0x8f, 0xd4), QColor(0x3f, 0x72, 0xbb)},
      Glyph{kMaximiseLeft, kCloseLeft, QColor(0x9a, 0xa1, 0xab), QColor(0x84, 0x8b, 0x95)},
      Glyph{kCloseLeft, kCloseRight, QColor(0xe2, 0x6c, 0x62), QColor(0xc2, 0x3e, 0x35)},
  };
  const QRectF strip(kMinimiseLeft, -4, kCloseRight - kMinimiseLeft,
                     23);  // rounded at the bottom only
  QPainterPath outline;
  outline.addRoundedRect(strip.adjusted(0.5, 0, -0.5, -0.5), 4, 4);
  p.save();
  p.setClipPath(outline);
  for (const Glyph& g : glyphs) {
    const QRectF cell(g.left, 0, g.right - g.left, 19);
    p.fillRect(cell, verticalGradient(cell, g.top, g.bottom));
    p.fillRect(QRectF(g.left, 0, 1, 19), QColor(255, 255, 255, 60));  // inner left sheen
  }
  p.fillRect(QRectF(kMaximiseLeft, 0, 1, 19), colour::titleEdge);
  p.fillRect(QRectF(kCloseLeft, 0, 1, 19), QColor(0x8a, 0x2c, 0x26));
  p.restore();
  p.setPen(QPen(colour::titleEdge, 1));
  p.setBrush(Qt::NoBrush);
  p.drawPath(outline);

  const QColor white(255, 255, 255);
  p.fillRect(QRectF(kMinimiseLeft + 5, 11, 10, 2), white);  // minimise
  const QColor unavailable(0xc8, 0xcc, 0xd2);
  p.setPen(QPen(unavailable, 1.2));
  p.drawRect(QRectF(kMaximiseLeft + 5.5, 5.5, 10, 8));  // maximise
  p.fillRect(QRectF(kMaximiseLeft + 5.5, 5.5, 10, 2), unavailable);
  drawCross(p, QPointF(kCloseLeft + 10.5, 9.5), 3.6, white, 1.7);  // close
}

void drawToolbarBand(QPainter& p) {
  const QRectF band(0, kTitleBottom, kWidth, kToolbarBottom - kTitleBottom);
  p.fillRect(band, verticalGradient(band, colour::toolbarTop, colour::toolbarBottom));
  p.fillRect(QRectF(0, kTitleBottom, kWidth, 1), QColor(255, 255, 255, 200));
  p.fillRect(QRectF(0, kToolbarBottom - 1, kWidth, 1), colour::line);
}

void drawTabs(QPainter& p) {
  using IconPainter = void (*)(QPainter&, QPointF, const QColor&);
  const std::array<IconPainter, std::size(skin_places::kTabLefts)> icons{
      &drawSentenceIcon,
      &drawFullTextIcon,
      [](QPainter& q, QPointF o, const QColor& c) { drawRecallIcon(q, o, c, true); },
      [](QPainter& q, QPointF o, const QColor& c) { drawRecallIcon(q, o, c, false); },
      &drawMicrophoneIcon,
      &drawPencilIcon,
      &drawReviewIcon,
  };
  for (std::size_t i = 0; i < icons.size(); ++i) {
    const int left = pixels(skin_places::kTabLefts[i]);
    const QRectF tab(left + 0.5, kTabTop + 0.5, kTabWidth - 1, kTabHeight - 1);
    p.setPen(QPen(QColor(0x9f, 0xb6, 0xd4, 110), 1));
    p.setBrush(verticalGradient(tab, QColor(255, 255, 255, 150), QColor(255, 255, 255, 40)));
    p.drawRoundedRect(tab, 5, 5);
    icons[i](p, QPointF(left + 23, kIconTop), colour::ink);
  }
}

// The globe and the underline of the link label at `labelTwips`.
void drawLink(QPainter& p, int labelTwips) {
  const int labelLeft = pixels(labelTwips);
  drawGlobe(p, QPointF(labelLeft - kGlobeGap, 40), colour::ink);
  p.fillRect(QRectF(labelLeft, 56, 48, 1), QColor(0x2b, 0x5f, 0xa8, 150));
}

void drawPanes(QPainter& p) {
  const int paneHeight = kStatusTop - kToolbarBottom;
  p.fillRect(QRect(0, kToolbarBottom, kPaneDivider, paneHeight), colour::paneBack);
  p.fillRect(QRect(kPaneDivider, kToolbarBottom, kWidth - kPaneDivider, paneHeight),
             colour::mainBack);
  p.fillRect(kTreeArea, colour::treeBack);
  p.setPen(QPen(colour::line, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(kTreeArea).adjusted(-0.5, -0.5, 0.5, 0.5));
  for (int y = kToolbarBottom + 1; y < kStatusTop; y += 2)
    p.fillRect(QRect(kPaneDivider, y, 1, 1), colour::lineDark);
}

void drawStatusStrip(QPainter& p) {
  const QRectF strip(0, kStatusTop, kWidth, kHeight - kStatusTop);
  p.fillRect(strip, verticalGradient(strip, colour::statusTop, colour::statusBottom));
  p.fillRect(QRectF(0, kStatusTop, kWidth, 1), colour::line);
  p.fillRect(QRectF(0, kStatusTop + 1, kWidth, 1), QColor(255, 255, 255, 170));
}

void drawWindowEdge(QPainter& p) {
  p.fillRect(QRect(0, 0, 1, kTitleBottom), colour::titleEdge);
  p.fillRect(QRect(kWidth - 1, 0, 1, kTitleBottom), colour::titleEdge);
  p.fillRect(QRect(0, kTitleBottom, 1, kHeight - kTitleBottom), colour::lineDark);
  p.fillRect(QRect(kWidth - 1, kTitleBottom, 1, kHeight - kTitleBottom), colour::lineDark);
  p.fillRect(QRect(0, kHeight - 1, kWidth, 1), colour::lineDark);
}
}  // namespace

bool writeWindowBackground(const QString& outputDir) {
  const QImage image = paintImage(
      kWidth, kHeight,
      [](QPainter& p) {
        drawTitleBand(p);
        drawCaptionGlyphs(p);
        drawToolbarBand(p);
        drawTabs(p);
        drawLink(p, skin_places::kMoreSoftwareLeft);
        drawLink(p, skin_places::kMiniModeLeft);
        drawPanes(p);
        drawStatusStrip(p);
        drawWindowEdge(p);
      },
      Qt::white);
  return saveJpeg(image, outputDir, "skin/skin.jpg", 92);
}

}  // namespace skin

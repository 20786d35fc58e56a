#include "glyphs.h"

#include <QPainterPath>
#include <QPolygonF>

#include "painting.h"

namespace skin {

namespace {
QPen roundPen(const QColor& ink, qreal width) {
  return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Draws in origin-relative coordinates and restores the painter afterwards.
class Local {
 public:
  Local(QPainter& painter, QPointF origin) : painter_(painter) {
    painter_.save();
    painter_.translate(origin);
  }
  ~Local() { painter_.restore(); }

 private:
  QPainter& painter_;
};
}  // namespace

void drawSpeechMark(QPainter& painter, const QColor& bubbleTop, const QColor& bubbleBottom,
                    const QColor& edge, const QColor& letter) {
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(3, 5, 58, 42), 13, 13);
  QPainterPath tail;
  tail.moveTo(13, 40);
  tail.lineTo(10, 59);
  tail.lineTo(29, 45);
  tail.closeSubpath();
  bubble = bubble.united(tail);

  painter.setPen(QPen(edge, 2));
  painter.setBrush(verticalGradient(QRectF(0, 5, 64, 54), bubbleTop, bubbleBottom));
  painter.drawPath(bubble);

  painter.setPen(roundPen(letter, 5.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF({{14, 38}, {24.5, 14}, {35, 38}}));
  painter.drawLine(QPointF(18.5, 29), QPointF(30.5, 29));

  painter.setPen(roundPen(letter, 3.5));
  for (const qreal radius : {7.0, 13.5}) {
    const QRectF circle(38 - radius, 26 - radius, 2 * radius, 2 * radius);
    painter.drawArc(circle, -50 * 16, 100 * 16);
  }
}

void drawGlobe(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  const QRectF ball(0.6, 0.6, 12.8, 12.8);
  painter.setPen(Qt::NoPen);
  painter.setBrush(verticalGradient(ball, QColor(0xe8, 0xf2, 0xfc), QColor(0xbf, 0xd6, 0xf0)));
  painter.drawEllipse(ball);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ink, 1.0));
  painter.drawEllipse(QRectF(4.2, 0.6, 5.6, 12.8));  // meridian
  painter.drawLine(QPointF(0.8, 7), QPointF(13.2, 7));
  // Latitudes bow towards the equator, which is what makes it read as a ball.
  painter.setPen(QPen(ink, 0.8));
  for (const qreal sign : {-1.0, 1.0}) {
    QPainterPath latitude;
    latitude.moveTo(2, 7 + sign * 3.4);
    latitude.quadTo(7, 7 + sign * 1.6, 12, 7 + sign * 3.4);
    painter.drawPath(latitude);
  }
  painter.setPen(QPen(ink, 1.2));
  painter.drawEllipse(ball);
}

void drawSentenceIcon(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(0.5, 0.5, 13, 7), 2, 2);
  QPainterPath tail;
  tail.moveTo(2.5, 6.5);
  tail.lineTo(2.5, 10.5);
  tail.lineTo(6.5, 7.5);
  tail.closeSubpath();
  painter.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(bubble.united(tail));
  painter.fillRect(QRectF(3, 3, 8, 2), ink);
}

void drawFullTextIcon(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  QPainterPath page;
  page.moveTo(2.5, 0.6);
  page.lineTo(9, 0.6);
  page.lineTo(11.5, 3.1);
  page.lineTo(11.5, 10.4);
  page.lineTo(2.5, 10.4);
  page.closeSubpath();
  painter.setPen(QPen(ink, 1.1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(page);
  painter.setPen(QPen(ink, 1.0));
  for (const qreal y : {3.5, 5.5, 7.5})
    painter.drawLine(QPointF(4.5, y), QPointF(y < 4 ? 8.0 : 9.5, y));
}

void drawRecallIcon(QPainter& painter, QPointF origin, const QColor& ink, bool hideLower) {
  Local local(painter, origin);
  const QRectF upper(1, 0.5, 12, 4);
  const QRectF lower(1, 6.5, 12, 4);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawRoundedRect(hideLower ? upper : lower, 1.2, 1.2);
  // The hidden half: an empty slot with a dot where its text would be.
  const QRectF slot = (hideLower ? lower : upper).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QPen(ink, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(slot, 1, 1);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawEllipse(QRectF(slot.center().x() - 1, slot.center().y() - 1, 2, 2));
}

void drawMicrophoneIcon(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawRoundedRect(QRectF(4.6, 0.4, 4.8, 6.8), 2.4, 2.4);
  painter.setPen(roundPen(ink, 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(2.6, 0.8, 8.8, 7.8), 180 * 16, 180 * 16);
  painter.drawLine(QPointF(7, 8.6), QPointF(7, 10.2));
  painter.drawLine(QPointF(4.6, 10.3), QPointF(9.4, 10.3));
}

void drawPencilIcon(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  painter.translate(7, 5.5);
  painter.rotate(-40);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawRect(QRectF(-4.4, -1.7, 7.4, 3.4));                       // body
  painter.drawRoundedRect(QRectF(-6.8, -1.7, 1.8, 3.4), 0.6, 0.6);      // eraser
  painter.drawPolygon(QPolygonF({{3.6, -1.7}, {6.9, 0}, {3.6, 1.7}}));  // tip
  painter.setBrush(QColor(255, 255, 255, 200));
  painter.drawPolygon(QPolygonF({{5.4, -0.8}, {6.9, 0}, {5.4, 0.8}}));
}

// A circular arrow: the sentence comes round again.
void drawReviewIcon(QPainter& painter, QPointF origin, const QColor& ink) {
  Local local(painter, origin);
  painter.setPen(roundPen(ink, 1.4));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(2.5, 1, 9, 9), 60 * 16, 270 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawPolygon(QPolygonF({{8.6, -0.4}, {12.2, 1.6}, {8.4, 3.6}}));  // the arrow's head
}

void drawChevron(QPainter& painter, QPointF centre, qreal halfWidth, Direction direction,
                 const QColor& ink, qreal penWidth) {
  const qreal rise = halfWidth * 0.6 * (direction == Direction::Up ? -1 : 1);
  painter.setPen(roundPen(ink, penWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(
      QPolygonF({centre + QPointF(-halfWidth, -rise / 2), centre + QPointF(0, rise / 2),
                 centre + QPointF(halfWidth, -rise / 2)}));
}

void drawCross(QPainter& painter, QPointF centre, qreal half, const QColor& ink, qreal penWidth) {
  painter.setPen(roundPen(ink, penWidth));
  painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
  painter.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void drawCheck(QPainter& painter, const QRectF& box, const QColor& ink, qreal penWidth) {
  painter.setPen(roundPen(ink, penWidth));
  painter.setBrush(Qt::NoBrush);
  const auto at = [&box](qreal fx, qreal fy) {
    return QPointF(box.left() + fx * box.width(), box.top() + fy * box.height());
  };
  painter.drawPolyline(QPolygonF({at(0.12, 0.52), at(0.4, 0.8), at(0.88, 0.22)}));
}

void drawSpeaker(QPainter& painter, QPointF origin, qreal height, int waves, const QColor& ink) {
  Local local(painter, origin);
  painter.scale(height / 12, height / 12);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ink);
  painter.drawPolygon(QPolygonF({{0, 4}, {2.6, 4}, {6, 1}, {6, 11}, {2.6, 8}, {0, 8}}));
  painter.setPen(roundPen(ink, 1.3));
  painter.setBrush(Qt::NoBrush);
  for (int wave = 1; wave <= waves; ++wave) {
    const qreal radius = 0.6 + 3 * wave;
    painter.drawArc(QRectF(5.4 - radius, 6 - radius, 2 * radius, 2 * radius), -50 * 16, 100 * 16);
  }
}

}  // namespace skin

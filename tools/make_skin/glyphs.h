// Small vector glyphs shared by several pictures. Each draws inside the painter's
// current coordinates at the given origin, in whole-pixel units.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>

namespace skin {

enum class Direction { Up, Down };

// The app mark: a speech bubble holding a letter A and two sound waves, drawn in a
// 64 x 64 unit square (scale the painter for other sizes).
void drawSpeechMark(QPainter& painter, const QColor& bubbleTop, const QColor& bubbleBottom,
                    const QColor& edge, const QColor& letter);

void drawGlobe(QPainter& painter, QPointF origin, const QColor& ink);  // 14 x 14

// Page-tab icons, each 14 x 11.
void drawSentenceIcon(QPainter& painter, QPointF origin, const QColor& ink);
void drawFullTextIcon(QPainter& painter, QPointF origin, const QColor& ink);
// Recall icons: two lines of a sentence pair, the hidden one dashed.
void drawRecallIcon(QPainter& painter, QPointF origin, const QColor& ink, bool hideLower);
void drawMicrophoneIcon(QPainter& painter, QPointF origin, const QColor& ink);
void drawPencilIcon(QPainter& painter, QPointF origin, const QColor& ink);
void drawReviewIcon(QPainter& painter, QPointF origin, const QColor& ink);

void drawChevron(QPainter& painter, QPointF centre, qreal halfWidth, Direction direction,
                 const QColor& ink, qreal penWidth = 1.6);
void drawCross(QPainter& painter, QPointF centre, qreal half, const QColor& ink, qreal penWidth);
void drawCheck(QPainter& painter, const QRectF& box, const QColor& ink, qreal penWidth);
// A speaker cone with `waves` arcs, fitted to a box `height` high at origin.
void drawSpeaker(QPainter& painter, QPointF origin, qreal height, int waves, const QColor& ink);

}  // namespace skin

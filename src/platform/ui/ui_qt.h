#pragma once
// Qt side of the window-system facade (private to platform/).
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/ui/ui.h"

namespace ui {

inline QString qs(const std::string& s) { return QString::fromStdString(s); }
inline std::string ss(const QString& s) { return s.toStdString(); }
inline QColor qc(Color c) { return QColor(c.r, c.g, c.b); }
QFont qfont(const Font& f);
// A picture file, read once: the toggles swap the same few pictures all the time.
QPixmap picture(const std::string& path);

// Maps a Qt key to the key code the program uses (the Windows virtual keys).
int keyCodeOf(int qtKey);

// Watches one widget and reports its mouse and focus events to its element.
class EventBridge : public QObject {
 public:
  EventBridge(Element* element, QWidget* widget);
  bool eventFilter(QObject* watched, QEvent* event) override;
  static void press(Element* e, const MouseEvent& m) { e->onMousePress(m); }
  static void release(Element* e, const MouseEvent& m) { e->onMouseRelease(m); }
  static void move(Element* e, const MouseEvent& m) { e->onMouseMove(m); }

 private:
  Element* element_;
};

// A plain widget that paints an optional fill and an optional picture at its
// natural size: the window surface, frames, picture boxes.
class PanelWidget : public QWidget {
 public:
  explicit PanelWidget(QWidget* parent) : QWidget(parent) {}
  QPixmap picture;
  QColor fill;
  bool opaque = false;

 protected:
  void paintEvent(QPaintEvent*) override;
};

Element* elementOf(const QWidget* w);

}  // namespace ui

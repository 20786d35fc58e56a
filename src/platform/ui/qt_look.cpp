#include "platform/ui/qt_look.h"

#include "platform/ui/ui_qt.h"

namespace ui {

QFont toQFont(const Font& font) { return qfont(font); }
QColor toQColor(Color color) { return qc(color); }

}  // namespace ui

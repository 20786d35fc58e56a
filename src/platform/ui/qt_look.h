#pragma once
// For the program's own Qt windows and dialogs (dialogs/): the Qt font and
// colour the window's elements use for a facade font and colour, so both
// choose faces alike.
#include <QColor>
#include <QFont>

#include "platform/ui/ui.h"

namespace ui {

QFont toQFont(const Font& font);
QColor toQColor(Color color);

}  // namespace ui

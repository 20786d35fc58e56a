#include "dialogs/skin_look.h"

#include "platform/ui/qt_look.h"
#include "window/layout.h"

namespace dialogs {

QFont skinFont(double points, bool bold) {
  ui::Font f = layout::kSong9;
  f.size = points;
  f.bold = bold;
  return ui::toQFont(f);
}

QFont sentenceFont(double points) {
  ui::Font f = layout::kTimes15;
  f.size = points;
  return ui::toQFont(f);
}

QPalette skinPalette() {
  QPalette p;
  const QColor panel = ui::toQColor(layout::kPanel), ink = ui::toQColor(layout::kInk);
  p.setColor(QPalette::Window, panel);
  p.setColor(QPalette::Base, ui::toQColor(ui::kWhite));
  p.setColor(QPalette::AlternateBase, panel);
  p.setColor(QPalette::Button, panel);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(role, ink);
  p.setColor(QPalette::Highlight, ui::toQColor(layout::kNavy));
  p.setColor(QPalette::HighlightedText, ui::toQColor(ui::kWhite));
  p.setColor(QPalette::Mid, ui::toQColor(layout::kLine));
  return p;
}

}  // namespace dialogs

// Small pop-up menus at the mouse pointer.
#include <QActionGroup>
#include <QCursor>
#include <QMenu>

#include "platform/ui/ui_qt.h"

namespace ui {

void popupMenu(const std::vector<std::string>& entries, int checked,
               std::function<void(int index)> chosen) {
  auto* menu = new QMenu;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setAccessibleName("菜单");
  auto* group = new QActionGroup(menu);
  for (int i = 0; i < int(entries.size()); ++i) {
    QAction* a = menu->addAction(qs(entries[i]));
    a->setCheckable(true);
    a->setChecked(i == checked);
    group->addAction(a);
    QObject::connect(a, &QAction::triggered, menu, [chosen, i] { chosen(i); });
  }
  menu->popup(QCursor::pos());
}

}  // namespace ui

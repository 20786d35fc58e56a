// The program's own dialogs: real windows in the skin's look, laid out by
// their layouts, answering the learner's clicks.
#include "dialogs/skinned_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "dialogs/skin_look.h"
#include "platform/ui/qt_look.h"
#include "window/layout.h"

namespace {

TEST(SkinnedDialog, AWindowOfItsOwnInTheSkinsLookAnsweringClicks) {
  dialogs::SkinnedDialog d("导入课本");
  auto* label = new QLabel("选择课本的文件夹：");
  auto* list = new QListWidget;
  list->addItems({"第一课", "第二课"});
  auto* progress = new QProgressBar;
  d.body().addWidget(label);
  d.body().addWidget(list);
  d.body().addWidget(progress);
  d.buttons().setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));

  EXPECT_FALSE(d.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(d.isWindow());
  EXPECT_EQ(d.windowTitle(), "导入课本");
  EXPECT_EQ(d.palette().color(QPalette::Window), ui::toQColor(layout::kPanel));
  EXPECT_EQ(label->palette().color(QPalette::WindowText), ui::toQColor(layout::kInk));
  EXPECT_EQ(label->font().family(), ui::toQFont(layout::kSong9).family());
  EXPECT_EQ(dialogs::skinFont(12).pointSizeF(), 12);
  // The layout stacks the body and the buttons without overlap.
  const QWidget* ok = d.buttons().button(QDialogButtonBox::Ok);
  EXPECT_LE(label->geometry().bottom(), list->geometry().top());
  EXPECT_LE(list->geometry().bottom(), progress->geometry().top());
  EXPECT_LE(progress->geometry().bottom(), d.buttons().geometry().top());

  const QPoint at = ok->mapTo(&d, ok->rect().center());
  QTest::mouseClick(d.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_FALSE(d.isVisible());
}

}  // namespace

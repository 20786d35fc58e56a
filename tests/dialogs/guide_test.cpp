// The user guide shipped with the program: what it holds, and where it opens
// (the learner's browser, or the program's own window where no browser is).
#include "dialogs/guide.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "support/browser_stand_in.h"

namespace {

const QString kGuide = PARLENDA_SOURCE_DIR "/data/guide/index.html";

QString guideText() {
  QFile f(kGuide);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return QString::fromUtf8(f.readAll());
}

// Each page, the keys, the learner's own lessons, review, the mini mode and
// the learner's data have their part, and every picture it shows is shipped.
TEST(Guide, TellsEachPageWithItsPictureAndWhatTheLearnerNeeds) {
  const QString html = guideText();
  for (const char* part : {"句子学习", "全文浏览", "回想中文", "回想英文", "跟读对比", "听写测试",
                           "按键", "迷你模式", "添加自己的课程", "复习", "学习数据存放在哪里",
                           "make_book.py", ".local/share/parlenda", "选择课本"})
    EXPECT_TRUE(html.contains(QString::fromUtf8(part))) << part;
  for (const char* key : {"PageUp", "PageDown", "F1", "F7", "F8", "F9", "Esc"})
    EXPECT_TRUE(html.contains("<td>" + QString(key) + "</td>")) << key;
  QStringList pictures;
  const QRegularExpression img("<img src=\"([^\"]+)\"");
  for (auto m = img.globalMatch(html); m.hasNext();) pictures << m.next().captured(1);
  for (const char* page : {"page1", "page2", "page3", "page4", "page5", "page8", "mini"})
    EXPECT_TRUE(pictures.contains(QString("images/%1.png").arg(page))) << page;
  const QDir folder = QFileInfo(kGuide).dir();
  for (const QString& p : pictures) EXPECT_TRUE(folder.exists(p)) << p.toStdString();
  EXPECT_FALSE(html.contains("http")) << "no address outside the guide";
}

QTextBrowser* ownGuideWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "guide" && w->isVisible()) return w->findChild<QTextBrowser*>();
  return nullptr;
}

TEST(Guide, OpensInTheBrowser) {
  BrowserStandIn browser;
  EXPECT_TRUE(dialogs::openGuide(kGuide.toStdString()));
  ASSERT_EQ(browser.opened.size(), 1u);
  EXPECT_EQ(browser.opened[0], QUrl::fromLocalFile(QFileInfo(kGuide).absoluteFilePath()));
  EXPECT_EQ(ownGuideWindow(), nullptr);
  EXPECT_FALSE(dialogs::openGuide("/nonexistent/guide/index.html"));
}

// No browser can be started (no program on the path): the program shows the
// guide itself, pictures and all.
TEST(Guide, OpensInAWindowOfItsOwnWhereNoBrowserIs) {
  const QByteArray path = qgetenv("PATH");
  QTemporaryDir empty;
  qputenv("PATH", empty.path().toLocal8Bit());
  EXPECT_TRUE(dialogs::openGuide(kGuide.toStdString()));
  qputenv("PATH", path);
  QTextBrowser* shown = ownGuideWindow();
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(shown->window()));
  EXPECT_TRUE(shown->toPlainText().contains(QString::fromUtf8("迷你模式")));
  const QVariant picture =
      shown->document()->resource(QTextDocument::ImageResource, QUrl("images/mini.png"));
  EXPECT_TRUE(picture.isValid()) << "the pictures beside the guide are shown";
  shown->window()->close();
}

}  // namespace

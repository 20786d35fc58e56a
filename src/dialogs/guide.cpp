#include "dialogs/guide.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "dialogs/skinned_dialog.h"

namespace dialogs {

namespace {

// The guide in a window of the program's own: links inside the guide are
// followed there, its pictures shown from beside the file.
class GuideWindow : public SkinnedDialog {
 public:
  explicit GuideWindow(const QString& file) : SkinnedDialog(QStringLiteral("Parlenda 使用说明")) {
    setObjectName(QStringLiteral("guide"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(false);
    browser->setSource(QUrl::fromLocalFile(file));
    body().addWidget(browser);
    buttons().setStandardButtons(QDialogButtonBox::Close);
    resize(760, 560);
  }
};

QPointer<GuideWindow> ownWindow;

}  // namespace

bool openGuide(const std::string& indexFile) {
  const QString file = QString::fromStdString(indexFile);
  if (!QFileInfo(file).isFile()) return false;
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath())))
    return true;
  if (!ownWindow) ownWindow = new GuideWindow(file);
  ownWindow->show();
  ownWindow->raise();
  ownWindow->activateWindow();
  return true;
}

}  // namespace dialogs

#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

bool startMinimized(const std::string& program) {
  QString p = QString::fromStdString(program);
  return QProcess::startDetached(p, {}, QFileInfo(p).absolutePath());
}

void openInBrowser(const std::string& address) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace platform

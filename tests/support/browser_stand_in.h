#pragma once
// A browser stand-in: registered for a URL scheme with
// QDesktopServices::setUrlHandler(scheme, &browser, "open"), it records what
// the desktop was asked to open instead of opening it.
#include <QObject>
#include <QUrl>
#include <vector>

class BrowserStandIn : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

#pragma once
// A browser stand-in: while it lives it is the desktop's handler of file
// URLs, and it records what the desktop was asked to open instead of
// opening it.
#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <vector>

class BrowserStandIn : public QObject {
  Q_OBJECT
 public:
  BrowserStandIn() { QDesktopServices::setUrlHandler("file", this, "open"); }
  ~BrowserStandIn() override { QDesktopServices::unsetUrlHandler("file"); }
  BrowserStandIn(const BrowserStandIn&) = delete;
  BrowserStandIn& operator=(const BrowserStandIn&) = delete;

  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

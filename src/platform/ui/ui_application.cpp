// The application object, font substitutions and modal message boxes.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <thread>

#include "platform/ui/ui_qt.h"

namespace ui {

// Menus, message boxes and tool tips take the application's font.
void useSkinFonts() { QApplication::setFont(qfont(Font{})); }

struct Application::Impl {
  explicit Impl(int& argc, char** argv) : app(argc, argv) {}
  QApplication app;
};

// Reading the font configuration takes several milliseconds and needs no
// display, so it runs while the application connects to one; Qt's own call
// then finds it done.
// Without a session bus named in the environment, libdbus starts one of its
// own through X11 (dbus-launch --autolaunch, where dbus-x11 is installed) when
// Qt asks whether a screen reader runs; that start can leave the first window
// waiting for good (seen: the window never shown, the user-interface thread in
// QDBusConnection::sessionBus()). A desktop session names its bus; without one,
// the program asks no bus at all.
static void askNoBusUnlessNamed() {
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!bus || !*bus)
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/parlenda-no-bus", 1);
}

Application::Application(int& argc, char** argv) {
  askNoBusUnlessNamed();
  std::thread fontConfiguration([] { FcInit(); });
  // The desktop entry's name: a Wayland desktop matches the window to it (icon, name).
  QGuiApplication::setDesktopFileName("org.parlenda.Parlenda");
  impl_ = std::make_unique<Impl>(argc, argv);
  fontConfiguration.join();
  useSkinFonts();
}

Application::~Application() = default;

int Application::exec() { return impl_->app.exec(); }

void processEvents(int ms) {
  QElapsedTimer t;
  t.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  } while (t.elapsed() < ms);
}

static std::function<int(const MessageBoxCall&)>& responder() {
  static std::function<int(const MessageBoxCall&)> r;
  return r;
}

void setMessageBoxResponder(std::function<int(const MessageBoxCall&)> r) {
  responder() = std::move(r);
}

// A modal box with an OK button, or Yes and No, that Enter closes.
int msgBox(const std::string& prompt, int style, const std::string& title) {
  if (responder()) return responder()({prompt, title, style});
  QMessageBox box;
  box.setWindowTitle(qs(title));
  box.setText(qs(prompt));
  int icon = style & 0x70;
  box.setIcon(icon == kInformation   ? QMessageBox::Information
              : icon == kExclamation ? QMessageBox::Warning
              : icon == kCritical    ? QMessageBox::Critical
              : icon == kQuestion    ? QMessageBox::Question
                                     : QMessageBox::NoIcon);
  if (style & kYesNo) {
    QPushButton* yes = box.addButton(QString::fromUtf8("是"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("否"), QMessageBox::NoRole);
    box.setDefaultButton(style & kDefaultButton2 ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? kYes : kNo;
  }
  QPushButton* ok = box.addButton(QString::fromUtf8("确定"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.exec();
  return kOk;
}

}  // namespace ui

// One start of a process to the first paint of its window, then exit:
//   startup_probe bare      a bare Qt Widgets window of 780 x 555
//   startup_probe parlenda  the main window over the bundled program folder
// bench/startup.sh runs both many times and reports the means and the ratio.
#include "bench_support.h"
#include "platform/ui.h"

int main(int argc, char** argv) {
  const bool bare = argc > 1 && std::string(argv[1]) == "bare";
  QApplication app(argc, argv);
  if (bare) {
    QWidget w;
    w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    w.setFixedSize(780, 555);
    w.show();
    waitForFirstPaint(&w);
    return 0;
  }
  ui::installFontSubstitutions();
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  Form1 form(PARLENDA_PROGRAM_DIR, silentDevices());
  form.Unload = nullptr;
  waitForFirstPaint(form.widget());
  return 0;
}

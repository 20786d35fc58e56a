// One start of a bare Qt Widgets program to the first paint of a 780 x 555
// frameless window: what bench/startup.sh compares the program's start with.
#include "first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w;
  w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  w.setFixedSize(780, 555);
  w.show();
  waitForFirstPaint(&w);
  printPaintTime();
  return 0;
}

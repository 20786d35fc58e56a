// A bare Qt Widgets window of the program's size that stays open until it is
// ended: what bench/idle.sh compares the idle program with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w;
  w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  w.setFixedSize(780, 555);
  w.setWindowTitle("bare");
  w.show();
  return app.exec();
}

// The floor under the program's start: the bare window of startup_bare with
// one line of text in each font family the main window shows (AR PL UMing,
// Liberation Serif, Liberation Sans), Chinese and English, as QLabels.
#include <QLabel>
#include <QVBoxLayout>

#include "first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w;
  w.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  w.setFixedSize(780, 555);
  auto* column = new QVBoxLayout(&w);
  for (const char* family : {"AR PL UMing CN", "Liberation Serif", "Liberation Sans"}) {
    auto* label = new QLabel(QString::fromUtf8("第一课 Lesson one ☆"), &w);
    label->setFont(QFont(family, 10));
    column->addWidget(label);
  }
  w.show();
  waitForFirstPaint(&w);
  printPaintTime();
  return 0;
}

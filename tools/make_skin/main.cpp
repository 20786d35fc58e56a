// make_skin OUTPUT_DIR: draws the skin and every picture of the main window into
// OUTPUT_DIR/skin and OUTPUT_DIR/bitmap (the program folder's data/ in the repository).
#include <QGuiApplication>
#include <cstdio>

#include "pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_skin OUTPUT_DIR\n");
    return 2;
  }
  // Pictures only: no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString outputDir = QString::fromLocal8Bit(argv[1]);

  bool ok = true;
  for (const auto write :
       {&skin::writeWindowBackground, &skin::writeMarks, &skin::writeControls, &skin::writeToggles})
    ok = write(outputDir) && ok;  // keep going so every failure is reported
  return ok ? 0 : 1;
}

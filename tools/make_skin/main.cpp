// make_skin OUTPUT_DIR [ICON_DIR]: draws the skin and every picture of the main
// window into OUTPUT_DIR/skin and OUTPUT_DIR/bitmap (the program folder's data/
// in the repository), each at the design size and at twice it ("@2x" names);
// with ICON_DIR, also the app icon for the desktop's icon theme (packaging/icons).
#include <QGuiApplication>
#include <cstdio>

#include "painting.h"
#include "pictures.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_skin OUTPUT_DIR [ICON_DIR]\n");
    return 2;
  }
  // Pictures only: no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString outputDir = QString::fromLocal8Bit(argv[1]);

  bool ok = true;
  for (const int scale : {1, 2}) {
    skin::setDensity(scale);
    for (const auto write : {&skin::writeWindowBackground, &skin::writeMarks, &skin::writeControls,
                             &skin::writeToggles})
      ok = write(outputDir) && ok;  // keep going so every failure is reported
  }
  skin::setDensity(1);
  if (argc == 3)
    ok = skin::writeThemeIcons(QString::fromLocal8Bit(argv[2]), "org.parlenda.Parlenda") && ok;
  return ok ? 0 : 1;
}

// Screenshots of the six pages on the shipped course, as the learner reaches
// them (a click on each page tab), into the folder given: page1.png ...
// Run through tools/screens.sh, under a real X server.
#include <QApplication>
#include <cstdio>
#include <string>

#include "support/form_harness.h"
#include "support/learner.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: page_screens FOLDER [LESSON_ROW]\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string row = argc > 2 ? argv[2] : "0";
  FormHarness h;
  h.folder.copyShippedFiles();
  h.folder.write("\\SETTING\\set.dat", row + "\\1\\1\\1\\0\\1\\0\\1\\1\\Book01\\60\\");
  Form1& f = h.start();
  for (int page : {1, 2, 3, 4, 5, 8}) {
    learner::click(f.Label14(page));
    QApplication::processEvents();
    learner::screenshot(f, out + "/page" + std::to_string(page) + ".png");
  }
  return 0;
}

// One start of the program over the bundled program folder (or the folder
// named by PARLENDA_BENCH_FOLDER): prints the clock at the first paint of its
// window, then again when its audio engine (loaded once the window shows) is
// ready; then the number of the lesson tree's nodes (the root and one a
// lesson), so a run over a book can be checked; then exits.
#include <cstdio>
#include <cstdlib>

#include "app/program.h"
#include "bench_support.h"

int main(int argc, char** argv) {
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  const char* folder = std::getenv("PARLENDA_BENCH_FOLDER");
  app::Program program(argc, argv, folder ? folder : PARLENDA_PROGRAM_DIR);
  program.form().Unload = nullptr;
  waitForFirstPaint(program.form().widget());
  printPaintTime();
  while (!program.audio().ready()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  printPaintTime();
  std::printf("%d\n", program.form().TreeView1.nodeCount());
  return 0;
}

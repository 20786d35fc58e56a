// One start of the program over the bundled program folder: prints the clock
// at the first paint of its window, then again when its audio engine (loaded
// once the window shows) is ready; then exits.
#include "app/program.h"
#include "bench_support.h"

int main(int argc, char** argv) {
  ui::setMessageBoxResponder([](const ui::MessageBoxCall&) { return 1; });
  app::Program program(argc, argv, PARLENDA_PROGRAM_DIR);
  program.form().Unload = nullptr;
  waitForFirstPaint(program.form().widget());
  printPaintTime();
  while (!program.audio().ready()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  printPaintTime();
  return 0;
}

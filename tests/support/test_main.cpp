// One main for every test program: a Qt application (offscreen unless told
// otherwise) so that widgets, timers and queued events work, with the
// program's fonts.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/ui/ui.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  QApplication app(argc, argv);
  ui::useSkinFonts();  // as the program starts: menus and boxes in the skin's font
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

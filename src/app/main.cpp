// Parlenda: the program folder is the folder of the executable.
#include "app/program.h"
#include "platform/text/files.h"

int main(int argc, char** argv) {
  app::Program program(argc, argv, platform::executableFolder());
  return program.exec();
}

// Parlenda: the program folder is the folder of the executable. When it cannot
// be written (an installed program), the learner's data folder keeps the
// files the program writes.
#include "app/program.h"
#include "platform/text/files.h"

int main(int argc, char** argv) {
  const std::string folder = platform::executableFolder();
  platform::chooseWriteFolder(folder);
  app::Program program(argc, argv, folder);
  return program.exec();
}

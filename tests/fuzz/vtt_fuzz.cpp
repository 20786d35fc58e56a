// The VTT reader on any bytes (timed_text_check.h says what holds).
#include "fuzz/timed_text_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::checkTimedText(fuzz::bytesOf(data, size), bookmaker::parseVtt);
  return 0;
}

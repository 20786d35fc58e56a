// The RTF reader on any bytes: it returns well-formed UTF-8, and what it
// returns writes and reads back unchanged. Any well-formed text the program
// holds writes and reads back unchanged as well.
#include "fuzz/fuzz_check.h"
#include "platform/text/rich_text.h"
#include "text/utf8_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::bytesOf(data, size);
  const std::string text = platform::rtfToText(bytes);
  FUZZ_CHECK(utf8_check::wellFormed(text));
  FUZZ_CHECK(platform::rtfToText(platform::textToRtf(text)) == text);

  const std::string written = platform::textToRtf(bytes);
  FUZZ_CHECK(platform::looksLikeRtf(written));
  const std::string back = platform::rtfToText(written);
  FUZZ_CHECK(utf8_check::wellFormed(back));
  if (utf8_check::wellFormed(bytes)) FUZZ_CHECK(back == bytes);
  return 0;
}

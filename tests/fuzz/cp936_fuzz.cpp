// The code page 936 decoder on any bytes: it returns well-formed UTF-8; each
// character it gives encodes to bytes that decode to it again; and whatever
// the encoder writes decodes without a bad byte.
#include "fuzz/fuzz_check.h"
#include "platform/text/rich_text.h"
#include "text/utf8_check.h"

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::bytesOf(data, size);
  const std::string text = platform::decodeCp936(bytes);
  FUZZ_CHECK(utf8_check::wellFormed(text));
  FUZZ_CHECK(text.size() <= 3 * bytes.size());
  // Code page 936 has no U+FFFD: the encoder writes "?" for it.
  if (text.find(kReplacement) == std::string::npos)
    FUZZ_CHECK(platform::decodeCp936(platform::encodeCp936(text)) == text);

  const std::string encoded = platform::encodeCp936(bytes);
  const std::string decoded = platform::decodeCp936(encoded);
  FUZZ_CHECK(decoded.find(kReplacement) == std::string::npos);
  return 0;
}

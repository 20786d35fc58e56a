// The settings line and the numeric rule on any text: the fields hold no "\"
// and a line built from them reads back as the same fields; every leading
// number is finite, turns into an integer without an overflowing cast, and
// its shortest form reads back as the same number.
#include <cmath>
#include <string>

#include "app/numeric.h"
#include "app/settings.h"
#include "fuzz/fuzz_check.h"

namespace {

void checkNumber(std::string_view text) {
  const double x = app::val(text);
  FUZZ_CHECK(std::isfinite(x));
  FUZZ_CHECK(app::startsWithNumber(text) || x == 0);
  // The casts the window makes of numbers held as text.
  app::toInteger(x);
  app::toInt(x);
  app::toInt(x * 1000 + 10);
  const std::string written = app::shortest(x);
  FUZZ_CHECK(app::startsWithNumber(written));
  FUZZ_CHECK(app::val(written) == x);
  FUZZ_CHECK(app::shortest(app::val(written)) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::bytesOf(data, size));
  const app::SettingsText parsed = app::parseSettings(text);
  FUZZ_CHECK(parsed.found >= 0 && parsed.found <= app::kSettingsFields);
  int k = 0;
  for (const std::string& field : parsed.field) {
    FUZZ_CHECK(field.find('\\') == std::string::npos);
    if (k++ >= parsed.found) FUZZ_CHECK(field.empty());
    checkNumber(field);
  }
  const std::string line = app::buildSettingsLine(parsed.field);
  const app::SettingsText back = app::parseSettings(line);
  FUZZ_CHECK(back.complete());
  FUZZ_CHECK(back.field == parsed.field);
  if (parsed.complete()) FUZZ_CHECK(text.starts_with(line));
  checkNumber(text);
  return 0;
}

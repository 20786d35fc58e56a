#include "app/settings.h"

namespace app {

// Field k is the text between the (k-1)-th and the k-th "\"; anything after
// the eleventh is never looked at.
SettingsText parseSettings(const std::string& text) {
  SettingsText s;
  size_t from = 0;
  for (int k = 0; k < kSettingsFields; ++k) {
    size_t p = text.find('\\', from);
    if (p == std::string::npos) break;
    s.field[k] = text.substr(from, p - from);
    s.found = k + 1;
    from = p + 1;
  }
  return s;
}

// A "\" typed into a box would shift every later field at the next start, so
// it is dropped from the field.
std::string buildSettingsLine(const std::array<std::string, kSettingsFields>& fields) {
  std::string line;
  for (const auto& f : fields) {
    for (char c : f)
      if (c != '\\') line += c;
    line += '\\';
  }
  return line;
}

}  // namespace app

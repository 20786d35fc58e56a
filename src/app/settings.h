#pragma once
// The settings line: eleven fields, each followed by "\".
#include <array>
#include <string>

namespace app {

constexpr int kSettingsFields = 11;

struct SettingsText {
  std::array<std::string, kSettingsFields> field;
  // How many fields were found with their closing "\"; the rest are empty.
  int found = 0;
  bool complete() const { return found == kSettingsFields; }
};

SettingsText parseSettings(const std::string& text);
std::string buildSettingsLine(const std::array<std::string, kSettingsFields>& fields);

}  // namespace app

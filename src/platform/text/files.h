#pragma once
// Paths of the program folder: every relative path of the program is written
// with "\" separators ("\SETTING\set.dat") and joined to the folder here.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string programPath(const std::string& folder, std::string_view relative);
bool fileExists(const std::string& path);  // a regular file
// The names, without the extension, of the regular files in `folder` whose
// names end with `extension` (".dat"), sorted; none when it cannot be read.
std::vector<std::string> fileStemsIn(const std::string& folder, std::string_view extension);
// The folder that holds the running executable.
std::string executableFolder();

}  // namespace platform

#pragma once
// Paths of the program folder: every relative path of the program is written
// with "\" separators ("\SETTING\set.dat") and joined to the folder here.
#include <string>
#include <string_view>

namespace platform {

std::string programPath(const std::string& folder, std::string_view relative);
bool fileExists(const std::string& path);  // a regular file
// The folder that holds the running executable.
std::string executableFolder();

}  // namespace platform

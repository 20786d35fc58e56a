#include "platform/text/files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {

std::string programPath(const std::string& folder, std::string_view relative) {
  std::string path = folder;
  for (char c : relative) path += (c == '\\') ? '/' : c;
  return path;
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::vector<std::string> fileStemsIn(const std::string& folder, std::string_view extension) {
  std::vector<std::string> stems;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || !name.ends_with(extension)) continue;
    if (name.size() > extension.size())
      stems.push_back(name.substr(0, name.size() - extension.size()));
  }
  std::sort(stems.begin(), stems.end());
  return stems;
}

std::string executableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

}  // namespace platform

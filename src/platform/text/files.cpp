#include "platform/text/files.h"

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

std::string executableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

}  // namespace platform

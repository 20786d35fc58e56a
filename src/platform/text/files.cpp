#include "platform/text/files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The program folder whose written files live in a learner folder; empty
// while the program folder is used alone.
struct LearnerFolder {
  std::string program;
  std::string learner;
};
LearnerFolder& learnerFolder() {
  static LearnerFolder folders;
  return folders;
}

std::string join(const std::string& folder, std::string_view relative) {
  std::string path = folder;
  for (char c : relative) path += (c == '\\') ? '/' : c;
  return path;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kSettings = "\\SETTING\\set.dat";
constexpr std::string_view kPlaces = "\\SETTING\\places.dat";
constexpr std::string_view kMiniStrip = "\\SETTING\\mini.dat";
constexpr std::string_view kRecording = "\\Recorder.wav";
constexpr std::string_view kResults = "\\SETTING\\Results\\";
constexpr std::string_view kBookList = "\\SETTING\\BookList\\";
constexpr std::string_view kStudyDatabase = "\\SETTING\\study.db";

// The files the program writes.
bool isWritten(std::string_view relative) {
  return relative == kSettings || relative == kPlaces || relative == kMiniStrip ||
         relative == kRecording || relative == kStudyDatabase || startsWith(relative, kResults);
}

// The book a relative path belongs to: "\book\T\..", "\Sound\T\.." or
// "\SETTING\BookList\T.dat"; empty for the program's own files.
std::string bookOf(std::string_view relative) {
  for (std::string_view folder : {std::string_view("\\book\\"), std::string_view("\\Sound\\")})
    if (startsWith(relative, folder)) {
      std::string_view rest = relative.substr(folder.size());
      return std::string(rest.substr(0, rest.find('\\')));
    }
  if (startsWith(relative, kBookList)) {
    std::string_view name = relative.substr(kBookList.size());
    if (name.size() > 4 && name.substr(name.size() - 4) == ".dat")
      return std::string(name.substr(0, name.size() - 4));
  }
  return {};
}

bool hasBook(const std::string& folder, const std::string& book) {
  return fileExists(join(folder, std::string(kBookList) + book + ".dat"));
}

bool writable(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

// Copies a written file of the program folder that the learner folder lacks.
void seed(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec) || fs::exists(to, ec)) return;
  fs::copy_file(from, to, ec);
  // An installed file may be read-only; the learner's copy is the learner's.
  if (!ec)
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
}

}  // namespace

std::string programPath(const std::string& folder, std::string_view relative) {
  const LearnerFolder& folders = learnerFolder();
  if (folders.learner.empty() || folder != folders.program) return join(folder, relative);
  if (isWritten(relative)) return join(folders.learner, relative);
  const std::string book = bookOf(relative);
  if (!book.empty() && hasBook(folders.learner, book)) return join(folders.learner, relative);
  return join(folder, relative);
}

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
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
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec).string();
  return exe.parent_path().string();
}

std::string learnerDataFolder(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/parlenda";
  if (home && home[0] == '/') return std::string(home) + "/.local/share/parlenda";
  return {};
}

std::string learnerDataFolder() {
  return learnerDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

bool canWriteProgramFiles(const std::string& folder) {
  const fs::path root(folder);
  std::error_code ec;
  for (const fs::path& f : {root, root / "SETTING", root / "SETTING" / "Results"})
    if (fs::is_directory(f, ec) && !writable(f)) return false;
  return writable(root);
}

bool useLearnerFolder(const std::string& programFolder, const std::string& learner) {
  const fs::path to(learner), from(programFolder);
  std::error_code ec;
  fs::create_directories(to / "SETTING" / "Results", ec);
  if (ec || !writable(to / "SETTING" / "Results")) return false;
  seed(from / "SETTING" / "set.dat", to / "SETTING" / "set.dat");
  seed(from / "Recorder.wav", to / "Recorder.wav");
  for (const auto& entry : fs::directory_iterator(from / "SETTING" / "Results", ec))
    seed(entry.path(), to / "SETTING" / "Results" / entry.path().filename());
  learnerFolder() = {programFolder, learner};
  return true;
}

void stopUsingLearnerFolder() { learnerFolder() = {}; }

std::string chooseWriteFolder(const std::string& programFolder) {
  if (canWriteProgramFiles(programFolder)) return programFolder;
  const std::string learner = learnerDataFolder();
  if (learner.empty() || !useLearnerFolder(programFolder, learner)) return programFolder;
  return learner;
}

std::vector<std::string> learnerBooks(const std::string& programFolder) {
  const LearnerFolder& folders = learnerFolder();
  std::vector<std::string> titles;
  if (folders.learner.empty() || folders.program != programFolder) return titles;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(join(folders.learner, kBookList), ec))
    if (entry.path().extension() == ".dat") titles.push_back(entry.path().stem().string());
  std::sort(titles.begin(), titles.end());
  return titles;
}

}  // namespace platform

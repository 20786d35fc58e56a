#include "support/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text/files.h"
#include "platform/text/rich_text.h"

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder() {
  std::string tmpl = (fs::temp_directory_path() / "parlenda-XXXXXX").string();
  root_ = mkdtemp(tmpl.data());
}

ProgramFolder::~ProgramFolder() {
  std::error_code ec;
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root_, ec);
}

std::string ProgramFolder::full(const std::string& relative) const {
  return platform::programPath(root_, relative);
}

void ProgramFolder::writeBytes(const std::string& relative, const std::string& bytes) const {
  fs::path p = full(relative);
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

void ProgramFolder::write(const std::string& relative, const std::string& utf8) const {
  writeBytes(relative, platform::encodeCp936(utf8));
}

void ProgramFolder::copyShippedFiles() const {
  fs::copy(fs::path(PARLENDA_SOURCE_DIR) / "data", root_,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string ProgramFolder::readBytes(const std::string& relative) const {
  std::ifstream in(full(relative), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool ProgramFolder::exists(const std::string& relative) const { return fs::exists(full(relative)); }

void ProgramFolder::writeBook(const std::string& book, const std::vector<std::string>& titles,
                              const std::vector<std::string>& lessons, bool withAudio) const {
  std::string list = "^", results = "^";
  for (auto& t : titles) list += t + "^", results += "☆" + t + "^";
  write("\\SETTING\\BookList\\" + book + ".dat", list);
  write("\\SETTING\\Results\\" + book + ".dat", results);
  std::string ext = (book == "Book04" || book == "Book07") ? ".wma" : ".mp3";
  for (size_t i = 0; i < lessons.size(); ++i) {
    std::string n = std::to_string(i + 1);
    write("\\book\\" + book + "\\" + n + ".dat", lessons[i]);
    if (withAudio) writeBytes("\\Sound\\" + book + "\\" + n + ext, "");
  }
}

std::string lessonText(const std::vector<std::vector<std::string>>& records) {
  std::string t = "*";
  for (auto& r : records) {
    for (auto& f : r) t += f + "#";
    t += "*";
  }
  return t;
}

std::string numberedLesson(int n) {
  std::vector<std::vector<std::string>> r;
  for (int k = 1; k <= n; ++k)
    r.push_back({"Sentence " + std::to_string(k) + ".", "第" + std::to_string(k) + "句。",
                 std::to_string(k * 2) + ".0", std::to_string(k * 2 + 1) + ".0", "注释"});
  return lessonText(r);
}

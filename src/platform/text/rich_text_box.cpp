// The text holder's file operations: whole-file read, atomic whole-file write.
#include <fcntl.h>
#include <unistd.h>

#include <QSaveFile>
#include <QString>
#include <QUtf8StringView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/text/rich_text.h"

namespace platform {

namespace {

bool readWhole(const std::string& path, std::string& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return false;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) bytes.reserve(size);
  char buffer[65536];
  while (true) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  return !std::ferror(file.get());
}

// The rename that replaced the file is an entry of its folder: until the
// folder is flushed too, a power cut can bring the old file back. A folder
// that cannot be flushed (some file systems refuse it) leaves the new file in
// place all the same, so it is not a failure of the save.
void flushFolderOf(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool looksLikeUtf8(std::string_view bytes) {
  const bool bom = bytes.starts_with("\xEF\xBB\xBF");
  const bool beyondAscii =
      std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  return (bom || beyondAscii) &&
         QUtf8StringView(bytes.data(), qsizetype(bytes.size())).isValidUtf8();
}

RichTextBox::Load RichTextBox::loadFile(const std::string& path, PlainText plain) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return Load::Missing;
  // Only a regular file is read: a directory cannot be, and opening a pipe or
  // device could block for ever.
  if (status.type() != std::filesystem::file_type::regular) return Load::Unreadable;
  std::string bytes;
  if (!readWhole(path, bytes)) return Load::Unreadable;
  if (looksLikeRtf(bytes))
    text_ = rtfToText(bytes);
  else if (plain == PlainText::Utf8OrCp936 && looksLikeUtf8(bytes))
    text_ = bytes.substr(bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0);
  else
    text_ = decodeCp936(bytes);
  return Load::Ok;
}

bool RichTextBox::saveFile(const std::string& path) const {
  // QSaveFile writes beside the file, flushes it and renames it over the old
  // one on commit, so a failure at any point leaves the old file as it was.
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string document = textToRtf(text_);
  if (file.write(document.data(), static_cast<qint64>(document.size())) !=
      static_cast<qint64>(document.size())) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  flushFolderOf(path);
  return true;
}

}  // namespace platform

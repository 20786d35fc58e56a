// The text holder's file operations: whole-file read, atomic whole-file write.
#include <QSaveFile>
#include <QString>
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

}  // namespace

RichTextBox::Load RichTextBox::loadFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return Load::Missing;
  // Only a regular file is read: a directory cannot be, and opening a pipe or
  // device could block for ever.
  if (status.type() != std::filesystem::file_type::regular) return Load::Unreadable;
  std::string bytes;
  if (!readWhole(path, bytes)) return Load::Unreadable;
  text_ = looksLikeRtf(bytes) ? rtfToText(bytes) : decodeCp936(bytes);
  return Load::Ok;
}

bool RichTextBox::saveFile(const std::string& path) const {
  // QSaveFile writes beside the file and renames over it on commit, so a
  // failure at any point leaves the old file as it was.
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  const std::string document = textToRtf(text_);
  if (file.write(document.data(), static_cast<qint64>(document.size())) !=
      static_cast<qint64>(document.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace platform

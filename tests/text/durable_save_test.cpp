// A save survives a power cut: after the new file is renamed over the old
// one, the folder that holds the name is flushed to disk as well.
//
// This program's own fsync stands in front of the C library's (the
// executable's definition wins over the shared library's), notes what each
// call flushes, and passes the call on.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/rich_text.h"
#include "text_files.h"

namespace {

struct FolderFlush {
  std::string folder;
  std::string fileThen;  // the saved file's bytes when its folder was flushed
};

std::vector<FolderFlush> folderFlushes;
std::string watchedFile;

std::string pathOf(int fd) {
  char link[64], target[PATH_MAX];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, target, sizeof target);
  return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

extern "C" int fsync(int fd) {
  struct stat st;
  if (!watchedFile.empty() && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
    folderFlushes.push_back({pathOf(fd), text_test::readBytes(watchedFile)});
  using Fsync = int (*)(int);
  static const auto real = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

namespace {

TEST(DurableSave, TheFolderIsFlushedAfterTheRename) {
  text_test::TempFolder folder;
  const std::string path = folder.file("set.dat");
  text_test::writeBytes(path, "old");
  platform::RichTextBox box;
  box.setText("0\\1\\1\\");
  watchedFile = path;
  folderFlushes.clear();
  ASSERT_TRUE(box.saveFile(path));
  watchedFile.clear();
  const std::string canonical = std::filesystem::canonical(folder.path()).string();
  ASSERT_EQ(folderFlushes.size(), 1u);
  EXPECT_EQ(folderFlushes[0].folder, canonical);
  EXPECT_EQ(folderFlushes[0].fileThen, platform::textToRtf("0\\1\\1\\"));
}

}  // namespace

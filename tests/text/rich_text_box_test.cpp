// Loading and saving through the text holder, failures included.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/text/rich_text.h"
#include "text_files.h"

namespace {

namespace fs = std::filesystem;
using platform::RichTextBox;
using text_test::readBytes;
using text_test::TempFolder;
using text_test::writeBytes;

// Whether permission bits stop this process (they do not stop root).
bool permissionsAreEnforced(const TempFolder& folder) {
  const std::string probe = folder.file("probe");
  fs::create_directory(probe);
  fs::permissions(probe, fs::perms::owner_read | fs::perms::owner_exec);
  const int fd = ::open((probe + "/x").c_str(), O_CREAT | O_WRONLY, 0644);
  if (fd >= 0) ::close(fd);
  fs::permissions(probe, fs::perms::owner_all);
  fs::remove_all(probe);
  return fd < 0;
}

TEST(RichTextBox, LoadsPlainTextAndRtf) {
  TempFolder folder;
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"\xB5\xDA\xD2\xBB\xBF\xCE\r\n", "第一课\r\n"},  // the line break at the end stays
      {"\xA1\xEE^\xA1\xEF^", "☆^★^"},
      {"bad \xFF byte", "bad \uFFFD byte"},
      {"", ""},
      {platform::textToRtf("1\\0\\中\n"), "1\\0\\中\n"},
  };
  for (const auto& [bytes, text] : cases) {
    writeBytes(folder.file("in.txt"), bytes);
    RichTextBox box;
    box.setText("old");
    EXPECT_EQ(box.loadFile(folder.file("in.txt")), RichTextBox::Load::Ok);
    EXPECT_EQ(box.text(), text);
  }
}

TEST(RichTextBox, LoadFailureKeepsTheText) {
  TempFolder folder;
  writeBytes(folder.file("file"), "x");
  fs::create_directory(folder.file("folder"));
  struct Case {
    std::string path;
    RichTextBox::Load result;
  };
  const Case cases[] = {
      {folder.file("absent"), RichTextBox::Load::Missing},
      {folder.file("file/below"), RichTextBox::Load::Missing},
      {"", RichTextBox::Load::Missing},
      {folder.file("folder"), RichTextBox::Load::Unreadable},
  };
  for (const auto& [path, result] : cases) {
    RichTextBox box;
    box.setText("kept");
    EXPECT_EQ(box.loadFile(path), result) << path;
    EXPECT_EQ(box.text(), "kept");
  }
}

TEST(RichTextBox, UnreadableWithoutPermission) {
  TempFolder folder;
  if (!permissionsAreEnforced(folder))
    GTEST_SKIP() << "running as root: permissions do not stop reads";
  writeBytes(folder.file("locked"), "x");
  fs::permissions(folder.file("locked"), fs::perms::none);
  RichTextBox box;
  box.setText("kept");
  EXPECT_EQ(box.loadFile(folder.file("locked")), RichTextBox::Load::Unreadable);
  EXPECT_EQ(box.text(), "kept");
}

TEST(RichTextBox, SaveReplacesTheFileWithTheRtfDocument) {
  TempFolder folder;
  const std::string path = folder.file("set.dat");
  writeBytes(path,
             "old plain text that is longer than the new document will be, by far........"
             "...........................................................................");
  RichTextBox box;
  box.setText("1\\2\\☆★\r\n");
  ASSERT_TRUE(box.saveFile(path));
  EXPECT_EQ(readBytes(path), platform::textToRtf(box.text()));

  RichTextBox reader;
  ASSERT_EQ(reader.loadFile(path), RichTextBox::Load::Ok);
  EXPECT_EQ(reader.text(), box.text());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(RichTextBox, SaveFailureLeavesNoTrace) {
  TempFolder folder;
  writeBytes(folder.file("file"), "x");
  fs::create_directory(folder.file("folder"));
  RichTextBox box;
  box.setText("new");
  EXPECT_FALSE(box.saveFile(folder.file("file/below")));
  EXPECT_FALSE(box.saveFile(folder.file("absent/below")));
  EXPECT_FALSE(box.saveFile(folder.file("folder")));
  EXPECT_FALSE(box.saveFile(""));
  EXPECT_EQ(readBytes(folder.file("file")), "x");
  EXPECT_TRUE(fs::is_directory(folder.file("folder")));
  EXPECT_FALSE(fs::exists(folder.file("absent")));
}

TEST(RichTextBox, SaveFailsOnReadOnlyFileOrFolder) {
  TempFolder folder;
  if (!permissionsAreEnforced(folder))
    GTEST_SKIP() << "running as root: permissions do not stop writes";
  RichTextBox box;
  box.setText("new");

  const std::string readOnlyFile = folder.file("results.dat");
  writeBytes(readOnlyFile, "old");
  fs::permissions(readOnlyFile, fs::perms::owner_read);
  EXPECT_FALSE(box.saveFile(readOnlyFile));
  EXPECT_EQ(readBytes(readOnlyFile), "old");

  const std::string readOnlyFolder = folder.file("locked");
  fs::create_directory(readOnlyFolder);
  writeBytes(readOnlyFolder + "/set.dat", "old");
  fs::permissions(readOnlyFolder, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(box.saveFile(readOnlyFolder + "/set.dat"));
  EXPECT_EQ(readBytes(readOnlyFolder + "/set.dat"), "old");
}

// A file size limit stands in for a full disk; it holds for root too.
TEST(RichTextBox, SaveFailsOnFullDiskAndKeepsTheOldFile) {
  TempFolder folder;
  const std::string path = folder.file("results.dat");
  writeBytes(path, "old results^");
  RichTextBox box;
  box.setText(std::string(1 << 20, 'x'));

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved_ok = box.saveFile(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(readBytes(path), "old results^");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// 50 MB both ways, plain text and RTF: read whole, no crash, nothing lost.
TEST(RichTextBox, LargeFiles) {
  TempFolder folder;
  constexpr int kUnits = 50 * 1000 * 1000 / 10;
  std::string bytes, text;
  bytes.reserve(kUnits * 10);
  for (int i = 0; i < kUnits; ++i) bytes += "\xD6\xD0\xCE\xC4\xA1\xEE\xA1\xEF\r\n";
  text.reserve(kUnits * 14);
  for (int i = 0; i < kUnits; ++i) text += "中文☆★\r\n";

  writeBytes(folder.file("plain.txt"), bytes);
  RichTextBox box;
  ASSERT_EQ(box.loadFile(folder.file("plain.txt")), RichTextBox::Load::Ok);
  EXPECT_TRUE(box.text() == text);

  const std::string rtfPath = folder.file("big.rtf");
  box.setText(text.substr(0, 50 * 1000 * 1000 / 40 * 14));  // a document of about 50 MB
  ASSERT_TRUE(box.saveFile(rtfPath));
  EXPECT_GT(fs::file_size(rtfPath), 49u * 1000 * 1000);
  RichTextBox reader;
  ASSERT_EQ(reader.loadFile(rtfPath), RichTextBox::Load::Ok);
  EXPECT_TRUE(reader.text() == box.text());

  // 50 MB of noise behind an RTF start.
  std::string noise = "{\\rtf1 ";
  noise.reserve(50 * 1000 * 1000);
  unsigned state = 12345;
  while (noise.size() < 50u * 1000 * 1000) {
    state = state * 1103515245 + 12345;
    noise += static_cast<char>(state >> 16);
  }
  writeBytes(rtfPath, noise);
  EXPECT_EQ(reader.loadFile(rtfPath), RichTextBox::Load::Ok);
}

}  // namespace

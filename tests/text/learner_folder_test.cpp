// Where the program's files lie when an installed program folder cannot be
// written: the learner's data folder keeps what the program writes, seeded
// from the program folder, and books added there win over installed ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/text/files.h"
#include "text_files.h"

namespace {

namespace fs = std::filesystem;
using text_test::readBytes;
using text_test::writeBytes;

void put(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  writeBytes(path.string(), bytes);
}

bool within(const std::string& path, const fs::path& folder) {
  return path.rfind(folder.string() + "/", 0) == 0;
}

// An installed program folder with one book, and an empty learner folder.
class LearnerFolder : public testing::Test {
 protected:
  LearnerFolder() {
    put(program() / "SETTING" / "set.dat", "installed settings");
    put(program() / "SETTING" / "Results" / "Book01.dat", "^installed results^");
    put(program() / "SETTING" / "BookList" / "Book01.dat", "^installed list^");
    put(program() / "book" / "Book01" / "1.dat", "installed lesson");
    put(program() / "Recorder.wav", "RIFF");
  }
  ~LearnerFolder() override { platform::stopUsingLearnerFolder(); }

  fs::path program() const { return temp.path() / "program"; }
  fs::path learner() const { return temp.path() / "learner"; }
  std::string at(std::string_view relative) const {
    return platform::programPath(program().string(), relative);
  }

  text_test::TempFolder temp;
};

TEST_F(LearnerFolder, AWritableProgramFolderKeepsEveryPath) {
  EXPECT_TRUE(platform::canWriteProgramFiles(program().string()));
  EXPECT_EQ(platform::chooseWriteFolder(program().string()), program().string());
  for (const char* relative : {"\\SETTING\\set.dat", "\\SETTING\\Results\\Book01.dat",
                               "\\book\\Book01\\1.dat", "\\skin\\skin.jpg"})
    EXPECT_TRUE(within(at(relative), program())) << relative;
  EXPECT_EQ(at("\\SETTING\\set.dat"), (program() / "SETTING" / "set.dat").string());
  EXPECT_FALSE(fs::exists(learner()));
}

TEST_F(LearnerFolder, WrittenFilesGoToTheLearnerFolderAndTheRestStaysInstalled) {
  ASSERT_TRUE(platform::useLearnerFolder(program().string(), learner().string()));
  struct Case {
    const char* relative;
    fs::path expected;
  };
  const Case cases[] = {
      {"\\SETTING\\set.dat", learner() / "SETTING" / "set.dat"},
      {"\\SETTING\\Results\\Book01.dat", learner() / "SETTING" / "Results" / "Book01.dat"},
      {"\\SETTING\\Results\\Book09.dat", learner() / "SETTING" / "Results" / "Book09.dat"},
      {"\\Recorder.wav", learner() / "Recorder.wav"},
      {"\\SETTING\\BookList\\Book01.dat", program() / "SETTING" / "BookList" / "Book01.dat"},
      {"\\book\\Book01\\1.dat", program() / "book" / "Book01" / "1.dat"},
      {"\\Sound\\Book01\\1.mp3", program() / "Sound" / "Book01" / "1.mp3"},
      {"\\SETTING\\Sound\\wrong.wav", program() / "SETTING" / "Sound" / "wrong.wav"},
      {"\\skin", program() / "skin"},
      {"\\bitmap\\1.jpg", program() / "bitmap" / "1.jpg"},
  };
  for (const Case& c : cases) EXPECT_EQ(at(c.relative), c.expected.string()) << c.relative;
  // Another folder (a test fixture, a second program) is not redirected.
  EXPECT_EQ(platform::programPath("/elsewhere", "\\SETTING\\set.dat"),
            "/elsewhere/SETTING/set.dat");
}

TEST_F(LearnerFolder, TheFirstStartSeedsTheWrittenFilesAndLaterStartsKeepTheLearners) {
  ASSERT_TRUE(platform::useLearnerFolder(program().string(), learner().string()));
  EXPECT_EQ(readBytes((learner() / "SETTING" / "set.dat").string()), "installed settings");
  EXPECT_EQ(readBytes((learner() / "SETTING" / "Results" / "Book01.dat").string()),
            "^installed results^");
  EXPECT_EQ(readBytes((learner() / "Recorder.wav").string()), "RIFF");
  EXPECT_FALSE(fs::exists(learner() / "book"));  // read-only files are not copied

  // The learner's own files survive the next start; a book installed since
  // gets its results file.
  put(learner() / "SETTING" / "set.dat", "learner settings");
  put(program() / "SETTING" / "Results" / "Book02.dat", "^new book^");
  ASSERT_TRUE(platform::useLearnerFolder(program().string(), learner().string()));
  EXPECT_EQ(readBytes((learner() / "SETTING" / "set.dat").string()), "learner settings");
  EXPECT_EQ(readBytes((learner() / "SETTING" / "Results" / "Book02.dat").string()), "^new book^");
}

TEST_F(LearnerFolder, ASeededCopyOfAReadOnlyFileCanBeWritten) {
  fs::permissions(program() / "SETTING" / "set.dat", fs::perms::owner_read | fs::perms::group_read);
  ASSERT_TRUE(platform::useLearnerFolder(program().string(), learner().string()));
  const auto perms = fs::status(learner() / "SETTING" / "set.dat").permissions();
  EXPECT_NE(perms & fs::perms::owner_write, fs::perms::none);
}

TEST_F(LearnerFolder, ALearnerBookWinsOverTheInstalledBookOfTheSameTitle) {
  put(learner() / "SETTING" / "BookList" / "Book01.dat", "^my list^");
  put(learner() / "SETTING" / "BookList" / "我的书.dat", "^mine^");
  put(learner() / "SETTING" / "BookList" / "notes.txt", "not a book");
  ASSERT_TRUE(platform::useLearnerFolder(program().string(), learner().string()));
  for (const char* relative : {"\\SETTING\\BookList\\Book01.dat", "\\book\\Book01\\1.dat",
                               "\\book\\Book01\\7.dat", "\\Sound\\Book01\\1.mp3"})
    EXPECT_TRUE(within(at(relative), learner())) << relative;
  EXPECT_EQ(at("\\book\\我的书\\1.dat"), (learner() / "book" / "我的书" / "1.dat").string());
  // A title that only begins like a learner book is still the installed one.
  EXPECT_EQ(at("\\book\\Book011\\1.dat"), (program() / "book" / "Book011" / "1.dat").string());
  EXPECT_EQ(platform::learnerBooks(program().string()),
            (std::vector<std::string>{"Book01", "我的书"}));
  EXPECT_TRUE(platform::learnerBooks("/elsewhere").empty());
}

TEST_F(LearnerFolder, AFolderThatCannotBeMadeLeavesTheProgramFolderAlone) {
  put(temp.path() / "a-file", "x");
  EXPECT_FALSE(platform::useLearnerFolder(program().string(), (temp.path() / "a-file").string()));
  EXPECT_EQ(at("\\SETTING\\set.dat"), (program() / "SETTING" / "set.dat").string());
  EXPECT_TRUE(platform::learnerBooks(program().string()).empty());
}

TEST_F(LearnerFolder, AReadOnlyProgramFolderChoosesTheLearnerFolderFromTheEnvironment) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root; tests/install covers this";
  fs::permissions(program() / "SETTING", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_FALSE(platform::canWriteProgramFiles(program().string()));
  setenv("XDG_DATA_HOME", learner().string().c_str(), 1);
  EXPECT_EQ(platform::chooseWriteFolder(program().string()), (learner() / "parlenda").string());
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(at("\\SETTING\\set.dat"), (learner() / "parlenda" / "SETTING" / "set.dat").string());
}

TEST(LearnerDataFolder, FollowsTheXdgBaseDirectoryRules) {
  struct Case {
    const char* xdg;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/data", "/home/li", "/data/parlenda"},
      {nullptr, "/home/li", "/home/li/.local/share/parlenda"},
      {"", "/home/li", "/home/li/.local/share/parlenda"},
      {"relative/path", "/home/li", "/home/li/.local/share/parlenda"},  // must be absolute
      {nullptr, nullptr, ""},
      {nullptr, "", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::learnerDataFolder(c.xdg, c.home), c.expected)
        << (c.xdg ? c.xdg : "(unset)") << " / " << (c.home ? c.home : "(unset)");
}

TEST(ProgramFolder, AMissingFolderCannotBeWritten) {
  EXPECT_FALSE(platform::canWriteProgramFiles("/nonexistent/parlenda"));
}

}  // namespace

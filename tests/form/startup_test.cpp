// Start-up and shut-down of the real window over fixture program folders.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "platform/text/rich_text.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

std::string settingsOnDisk(const FormHarness& h) {
  return platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat"));
}

TEST(Startup, AppliesTheSettingsAndOpensTheSavedLesson) {
  FormHarness h;
  h.writeDefaultCourse("1\\0\\0\\2\\05\\3\\1\\0\\1\\Book01\\80\\");
  Form1& f = h.start();
  EXPECT_EQ(f.caption(), "Parlenda");
  EXPECT_EQ(f.width(), 11700);
  EXPECT_EQ(f.height(), 8325);
  EXPECT_EQ(f.studymode, 1);
  EXPECT_EQ(f.Combo1.text(), "Book01");
  EXPECT_EQ(f.Combo1.listCount(), 15);
  EXPECT_EQ(f.Combo2.listCount(), 11);
  EXPECT_EQ(f.Combo3.listCount(), 14);
  EXPECT_EQ(f.Combo5.listCount(), 5);
  EXPECT_EQ(f.List1.listIndex(), 1);
  EXPECT_EQ(f.TreeView1.selectedNode(), 3);
  EXPECT_EQ(f.loadedlesson, 1);
  EXPECT_EQ(f.Label1.caption(), "Only one.");
  EXPECT_EQ(f.pausestudy, "5");
  EXPECT_EQ(f.Combo2.text(), "2");  // the page-1 pair is put back
  EXPECT_EQ(f.Combo3.text(), "5");
  EXPECT_EQ(f.Check1.value(), 0);
  EXPECT_FALSE(f.Label1.visible());
  EXPECT_TRUE(f.Label51.visible());
  EXPECT_FALSE(f.Label2.visible());
  EXPECT_EQ(f.Check4.value(), 1);
  EXPECT_TRUE(f.Label11.visible());
  EXPECT_EQ(f.Combo5.text(), "80");
  EXPECT_EQ(f.WindowsMediaPlayer1.rate(), 1.0);
  EXPECT_EQ(f.Picture4.left(), 2570);
  EXPECT_EQ(f.Picture4.top(), 1020);
  EXPECT_EQ(h.wave->fileName, h.folder.full("\\Recorder.wav"));
  EXPECT_EQ(h.wave->commands, (std::vector<std::string>{"type WaveAudio", "close", "open"}));
  EXPECT_TRUE(h.messages.empty());
}

TEST(Startup, TheTreeHoldsTheRootAndOneNodePerLesson) {
  FormHarness h;
  h.writeDefaultCourse();
  Form1& f = h.start();
  ASSERT_EQ(f.TreeView1.nodeCount(), 3);
  EXPECT_EQ(f.TreeView1.nodeKey(1), "Parlenda");
  EXPECT_EQ(f.TreeView1.nodeText(1), "Parlenda");
  EXPECT_EQ(f.TreeView1.nodeText(2), "第一课 Greetings 问候");
  EXPECT_EQ(f.TreeView1.nodeParent(3), 1);
  EXPECT_TRUE(f.TreeView1.expanded(1));
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(f.TreeView1.nodeBackColor(n), ui::rgb(249, 252, 255));
  EXPECT_EQ(f.TreeView1.backColor(), ui::rgb(249, 252, 255));
  EXPECT_EQ(f.List1.listCount(), 2);
}

TEST(Shutdown, WritesBackWhatWasReadInShortestForm) {
  FormHarness h;
  h.writeDefaultCourse("0\\1\\1\\02\\1.50\\1\\0\\1\\0\\Book01\\60\\");
  h.start();
  h.close();
  EXPECT_EQ(settingsOnDisk(h), "0\\1\\1\\2\\1.5\\1\\0\\1\\0\\Book01\\60\\");
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\set.dat").rfind("{\\rtf1", 0), 0u);
}

TEST(Startup, APassMarkBelowSixtyIsReplacedAndRemembered) {
  FormHarness h;
  h.writeDefaultCourse("0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\50\\");
  Form1& f = h.start();
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt, "最低值不能低于60分！");
  EXPECT_EQ(f.Combo5.text(), "60");
  h.close();
  EXPECT_EQ(settingsOnDisk(h), "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
}

// Settings that are missing or broken start from the design-time state and
// the next shut-down writes a well-formed line.
struct BrokenSettings {
  const char* name;
  const char* text;  // nullptr: no file
  const char* written;
};

class BrokenSettingsTest : public ::testing::TestWithParam<BrokenSettings> {};

TEST_P(BrokenSettingsTest, StartsUsableAndWritesAWellFormedLine) {
  const BrokenSettings& c = GetParam();
  FormHarness h;
  h.writeDefaultCourse();
  if (c.text)
    h.folder.write("\\SETTING\\set.dat", c.text);
  else
    std::remove(h.folder.full("\\SETTING\\set.dat").c_str());
  Form1& f = h.start();
  EXPECT_EQ(f.Combo1.text(), "Book01");
  EXPECT_GE(f.List1.listIndex(), 0);
  EXPECT_FALSE(f.Label1.caption().empty());
  h.close();
  EXPECT_EQ(settingsOnDisk(h), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, BrokenSettingsTest,
    ::testing::Values(BrokenSettings{"Missing", nullptr, "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\"},
                      BrokenSettings{"Empty", "", "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\"},
                      BrokenSettings{"FewFields", "1\\0\\",
                                     "1\\0\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\"},
                      BrokenSettings{"NotNumbers", "x\\y\\1\\z\\0\\1\\0\\1\\0\\Book01\\70\\",
                                     "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\70\\"},
                      BrokenSettings{"RowBeyondTheList", "7\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\",
                                     "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\"},
                      BrokenSettings{"PlainTextLine", "1\\1\\1\\3\\2\\1\\0\\0\\0\\Book01\\90\\\r\n",
                                     "1\\1\\1\\3\\2\\1\\0\\0\\0\\Book01\\90\\"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Startup, ATitleReachingOutsideTheFolderIsNotUsed) {
  for (const char* title : {"../etc", "a/b", "Book\x01", ".."}) {
    FormHarness h;
    h.writeDefaultCourse(std::string("0\\1\\1\\1\\0\\1\\0\\1\\0\\") + title + "\\60\\");
    Form1& f = h.start();
    EXPECT_EQ(f.Combo1.text(), "Book01") << title;
    ASSERT_FALSE(h.messages.empty()) << title;
    EXPECT_NE(h.messages[0].prompt.find("书名"), std::string::npos);
  }
}

TEST(Startup, AnUnlistedTitleWithItsFilesIsUsed) {
  FormHarness h;
  h.writeDefaultCourse("0\\1\\1\\1\\0\\1\\0\\1\\0\\My Book\\60\\");
  h.folder.writeBook("My Book", {"Lesson A"}, {numberedLesson(2)});
  Form1& f = h.start();
  EXPECT_EQ(f.Combo1.text(), "My Book");
  EXPECT_EQ(f.List1.list(0), "Lesson A");
}

TEST(Startup, NoSelectedRowLeavesTheRootSelected) {
  FormHarness h;
  h.writeDefaultCourse("-1\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
  Form1& f = h.start();
  EXPECT_EQ(f.List1.listIndex(), -1);
  EXPECT_EQ(f.TreeView1.selectedNode(), 1);
  EXPECT_TRUE(h.messages.empty());
  h.close();
  EXPECT_EQ(settingsOnDisk(h).substr(0, 3), "-1\\");
}

// When start-up opens no lesson the window still shows page 1 alone, every
// text of it whole.
TEST(Startup, WithoutALessonOpenedPageOneIsLaidOut) {
  struct Case {
    const char* name;
    const char* row;
    std::function<void(ProgramFolder&)> prepare;
  } cases[] = {
      {"no saved row", "-1", [](ProgramFolder&) {}},
      {"the saved lesson's file missing", "1",
       [](ProgramFolder& p) { std::remove(p.full("\\book\\Book01\\2.dat").c_str()); }},
      {"a book without lessons", "0",
       [](ProgramFolder& p) { p.write("\\SETTING\\BookList\\Book01.dat", "^"); }},
      {"the saved lesson without sentences", "0",
       [](ProgramFolder& p) { p.write("\\book\\Book01\\1.dat", ""); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormHarness h;
    h.writeDefaultCourse(std::string(c.row) + "\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
    c.prepare(h.folder);
    Form1& f = h.start();
    EXPECT_TRUE(f.Frame5.visible());
    EXPECT_TRUE(f.Frame2.visible());
    for (ui::Element* other : std::initializer_list<ui::Element*>{
             &f.Frame11, &f.Frame13, &f.Frame21, &f.Frame3, &f.Picture5, &f.Picture4, &f.Command16})
      EXPECT_FALSE(other->visible());
    EXPECT_EQ(learner::unseenTexts(f), std::vector<std::string>{});
  }
}

TEST(Startup, ASavedRowBeyondTheLessonsOpensTheFirstAndSaysSo) {
  FormHarness h;
  h.writeDefaultCourse("7\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
  Form1& f = h.start();
  EXPECT_EQ(f.loadedlesson, 0);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("第8课"), std::string::npos) << h.messages[0].prompt;
  EXPECT_NE(h.messages[0].prompt.find("第1课"), std::string::npos);
}

TEST(Startup, WithoutSoundTheLearnerIsToldOnce) {
  FormHarness h;
  h.writeDefaultCourse();
  h.soundOff = true;
  h.start();
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("声音"), std::string::npos);
}

TEST(Shutdown, AnUnwritableSettingsFileStaysAsItWasAndTheLearnerIsTold) {
  FormHarness h;
  h.writeDefaultCourse();
  h.start();
  const std::string before = h.folder.readBytes("\\SETTING\\set.dat");
  // Its folder replaced by a file: no write can succeed, even as root.
  std::string setting = h.folder.full("\\SETTING");
  std::rename(setting.c_str(), (setting + ".away").c_str());
  h.folder.writeBytes("\\SETTING", "not a folder");
  h.close();
  ASSERT_FALSE(h.messages.empty());
  EXPECT_NE(h.messages.back().prompt.find("set.dat"), std::string::npos);
  std::remove(setting.c_str());
  std::rename((setting + ".away").c_str(), setting.c_str());
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\set.dat"), before);
}

}  // namespace

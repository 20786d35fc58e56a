// The main window over an installed program folder whose written files live in
// the learner's data folder: books the learner added there are offered after
// the built-in titles and win over an installed book of the same title; the
// settings and the results are written there and the program folder is left
// alone.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/text/files.h"
#include "platform/text/rich_text.h"
#include "support/form_harness.h"

namespace {

// A file of the program folder itself (ProgramFolder's own reads resolve
// through the learner folder, as the program's do).
std::string installedBytes(const FormHarness& h, const std::string& relative) {
  std::ifstream in(h.folder.path() + "/" + relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LearnerBooks : public testing::Test {
 protected:
  LearnerBooks() {
    h.writeDefaultCourse();  // the installed Book01
    learner.writeBook("Book01", {"My lesson"}, {numberedLesson(2)});
    learner.writeBook("我的书", {"第一课"}, {numberedLesson(1)});
    installedSettings = installedBytes(h, "SETTING/set.dat");
    EXPECT_TRUE(platform::useLearnerFolder(h.folder.path(), learner.path()));
  }
  ~LearnerBooks() override { platform::stopUsingLearnerFolder(); }

  FormHarness h;
  ProgramFolder learner;
  std::string installedSettings;
};

TEST_F(LearnerBooks, ALearnerBookIsOfferedAndWinsOverTheInstalledOne) {
  Form1& f = h.start();
  ASSERT_EQ(f.Combo1.listCount(), 16);
  EXPECT_EQ(f.Combo1.list(15), "我的书");  // Book01 is a built-in title: not twice
  EXPECT_EQ(f.Combo1.text(), "Book01");
  ASSERT_EQ(f.List1.listCount(), 1);
  EXPECT_EQ(f.List1.list(0), "My lesson");
  EXPECT_EQ(f.Label1.caption(), "Sentence 1.");
  EXPECT_EQ(f.Label4.caption(), "2");
}

TEST_F(LearnerBooks, ChoosingTheAddedBookOpensItsFirstLesson) {
  Form1& f = h.start();
  f.Combo1.choose(15);
  f.Timer3.fire();
  EXPECT_EQ(f.Combo1.text(), "我的书");
  EXPECT_EQ(f.List1.list(0), "第一课");
  EXPECT_EQ(f.Label4.caption(), "1");
}

TEST_F(LearnerBooks, SettingsAndMarksAreWrittenInTheLearnerFolderOnly) {
  Form1& f = h.start();
  f.markLessonPassed("My lesson");
  f.Combo5.setText("80");
  h.close();
  EXPECT_EQ(platform::rtfToText(learner.readBytes("\\SETTING\\Results\\Book01.dat")),
            "^★My lesson^");
  EXPECT_NE(platform::rtfToText(learner.readBytes("\\SETTING\\set.dat")).find("\\Book01\\80\\"),
            std::string::npos);
  EXPECT_EQ(installedBytes(h, "SETTING/set.dat"), installedSettings);
  EXPECT_EQ(platform::rtfToText(installedBytes(h, "SETTING/Results/Book01.dat")),
            "^☆第一课 Greetings 问候^☆第二课 One 一句^");
}

}  // namespace

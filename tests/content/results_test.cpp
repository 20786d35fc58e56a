// The results text of a book and the score sheet that lists it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "content/results_store.h"
#include "platform/text/rich_text.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

struct MarkCase {
  const char* results;
  const char* title;
  std::vector<std::string> book;  // the book's lesson titles
  const char* marked;
};

TEST(ResultsText, MarkPassedChangesOnlyTheLessonsOwnEntry) {
  const std::vector<std::string> lessons = {"Lesson 1", "Lesson 10"};
  const MarkCase cases[] = {
      {"^☆T1^☆T2^", "T1", {"T1", "T2"}, "^★T1^☆T2^"},
      {"^★T1^☆T2^", "T1", {"T1", "T2"}, "^★T1^☆T2^"},                             // passed twice
      {"^☆Lesson 1^☆Lesson 10^", "Lesson 1", lessons, "^★Lesson 1^☆Lesson 10^"},  // a longer title
      {"^☆Lesson 10^☆Lesson 1^", "Lesson 1", lessons, "^☆Lesson 10^★Lesson 1^"},
      {"^☆第一课 ☆A^☆A^", "A", {"第一课 ☆A", "A"}, "^☆第一课 ☆A^★A^"},  // a star inside
      {"^☆T1^☆T2^", "T3", {"T1", "T2", "T3"}, "^☆T1^☆T2^"},             // no entry of its own
      {"^☆T1^☆T2", "T2", {"T1", "T2"}, "^☆T1^★T2"},                     // the final "^" missing
      {"^☆T1^\r\n", "T1", {"T1"}, "^★T1^\r\n"},                         // a line break after it
      {"^☆T1^☆T1^", "T1", {"T1", "T1"}, "^★T1^★T1^"},
      {"^☆^", "", {""}, "^☆^"},  // no lesson title
      {"", "T1", {"T1"}, ""},
      {"^", "T1", {"T1"}, "^"},
      // Further text after the title belongs to the entry.
      {"^☆T1 (复习)^☆T2^", "T1", {"T1", "T2"}, "^★T1 (复习)^☆T2^"},
      {"^☆Lesson 10 (复习)^☆Lesson 1 (复习)^", "Lesson 1", lessons,
       "^☆Lesson 10 (复习)^★Lesson 1 (复习)^"},
      {"^☆Lesson 10 (复习)^", "Lesson 1", lessons, "^☆Lesson 10 (复习)^"},
  };
  for (const MarkCase& c : cases)
    EXPECT_EQ(content::markPassed(c.results, c.title, c.book), c.marked)
        << c.results << " / " << c.title;
}

TEST(ResultsText, ClearResetsOnlyTheMarkAtTheStartOfEachEntry) {
  const std::pair<const char*, const char*> cases[] = {
      {"^★T1^☆T2^★T3^", "^☆T1^☆T2^☆T3^"},
      {"^★★ Stars^☆Rock ★^", "^☆★ Stars^☆Rock ★^"},
      {"^★T1^★T2", "^☆T1^☆T2"},
      {"", ""},
      {"^", "^"},
  };
  for (const auto& [results, cleared] : cases)
    EXPECT_EQ(content::clearMarks(results), cleared) << results;
}

struct ScoreSheet : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void start(const std::string& results) {
    h.writeDefaultCourse();
    h.folder.write("\\SETTING\\Results\\Book01.dat", results);
    f = &h.start();
    learner::click(f->Label14(8));
  }
  std::vector<std::string> rows() const {
    std::vector<std::string> r;
    for (int i = 0; i < f->List2.listCount(); ++i) r.push_back(f->List2.list(i));
    return r;
  }
  std::string onDisk() const { return h.folder.readBytes("\\SETTING\\Results\\Book01.dat"); }
};

TEST_F(ScoreSheet, ListsEveryEntryOnceInFileOrder) {
  start("^★第一课 Greetings 问候^☆第二课 One 一句 (extra)^");
  ASSERT_FALSE(f->Picture8.visible());
  f->Combo4.setFocus();
  for (int i = 0; i < 2; ++i) learner::click(f->Command28);
  EXPECT_TRUE(f->Picture8.visible());
  EXPECT_EQ(rows(),
            (std::vector<std::string>{"★第一课 Greetings 问候", "☆第二课 One 一句 (extra)"}));
  EXPECT_TRUE(f->Text2.hasFocus());
  EXPECT_TRUE(h.messages.empty());
}

TEST_F(ScoreSheet, BothCloseButtonsHideItAndGiveTheAnswerBoxTheFocus) {
  start("^☆A^");
  for (CSCommand::Command* close : {&f->Command27, &f->Command17(3)}) {
    learner::click(f->Command28);
    f->Combo4.setFocus();
    learner::click(*close);
    EXPECT_FALSE(f->Picture8.visible());
    EXPECT_TRUE(f->Text2.hasFocus());
  }
}

// One click would wipe every star of the book: the learner is asked first, and
// the answer that Enter gives is No.
TEST_F(ScoreSheet, ClearAsksFirstAndNoKeepsEveryMark) {
  const std::string before = "^★第一课 Greetings 问候^☆第二课 One 一句^";
  start(before);
  const std::string file = onDisk();
  learner::click(f->Command28);
  learner::click(f->Command26);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt, "确定要清除本册书的全部过关记录吗？");
  EXPECT_EQ(h.messages[0].style, ui::kYesNo | ui::kQuestion | ui::kDefaultButton2);
  EXPECT_EQ(f->RichTextBox6.text(), before);
  EXPECT_EQ(rows().front(), "★第一课 Greetings 问候");
  EXPECT_EQ(onDisk(), file);

  // The real question box: Enter answers it.
  ui::setMessageBoxResponder(nullptr);
  int enters = 0;
  {
    learner::EnterOnBoxes enter;
    learner::click(f->Command26);
    enters = enter.enters();
  }
  EXPECT_GE(enters, 1);
  EXPECT_LE(enters, 40);
  EXPECT_EQ(f->RichTextBox6.text(), before);
  EXPECT_EQ(onDisk(), file);
}

TEST_F(ScoreSheet, ClearSetsTheWholeBookBackAndSavesAnRtfDocument) {
  const std::string before = "^★第一课 Greetings 问候^★Rock ★ Star^☆第二课 One 一句^";
  start(before);
  h.answer = ui::kYes;
  learner::click(f->Command28);  // the sheet, then its clear button
  learner::click(f->Command26);
  const std::string cleared = "^☆第一课 Greetings 问候^☆Rock ★ Star^☆第二课 One 一句^";
  EXPECT_EQ(f->RichTextBox6.text(), cleared);
  EXPECT_TRUE(f->Picture8.visible());
  EXPECT_EQ(rows().front(), "☆第一课 Greetings 问候");
  EXPECT_EQ(onDisk().rfind("{\\rtf1", 0), 0u);
  EXPECT_EQ(platform::rtfToText(onDisk()), cleared);
  platform::RichTextBox reread;
  ASSERT_EQ(reread.loadFile(h.folder.full("\\SETTING\\Results\\Book01.dat")),
            platform::RichTextBox::Load::Ok);
  EXPECT_EQ(reread.text(), cleared);
}

TEST_F(ScoreSheet, AFailedClearIsToldAndTheFileStaysWhole) {
  start("^★A^");
  const std::string before = onDisk();
  // The folder replaced by a file: no write can succeed, even as root.
  const std::string results = h.folder.full("\\SETTING\\Results");
  std::rename(results.c_str(), (results + ".away").c_str());
  h.folder.writeBytes("\\SETTING\\Results", "not a folder");
  h.answer = ui::kYes;
  learner::click(f->Command28);
  learner::click(f->Command26);
  ASSERT_EQ(h.messages.size(), 2u);  // the question, then the failed write
  EXPECT_EQ(h.messages[1].style, ui::kExclamation);
  EXPECT_EQ(rows(), (std::vector<std::string>{"☆A"}));
  std::remove(results.c_str());
  std::rename((results + ".away").c_str(), results.c_str());
  EXPECT_EQ(onDisk(), before);
}

}  // namespace

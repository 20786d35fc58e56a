// What the learner sees: on every page of every shipped lesson, and of a
// lesson of long and wrapping sentences, every shown text is whole and
// nothing covers it. The pages are reached as the learner reaches them: a
// click on the lesson in the tree, a click on the page tab.
#include <gtest/gtest.h>

#include <QFont>
#include <QWidget>

#include "support/form_harness.h"
#include "support/learner.h"

namespace {

const int kPages[] = {1, 2, 3, 4, 5, 8};

std::string listed(const std::vector<std::string>& faults) {
  std::string s;
  for (const std::string& f : faults) s += "  " + f + "\n";
  return s;
}

struct Seen : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;

  void start(const std::string& book) {
    h.folder.copyShippedFiles();
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\1\\0\\1\\0\\1\\1\\" + book + "\\60\\");
    f = &h.start();
  }

  // Every shown text whole, uncovered and in the program's faces.
  void expectSeen(const std::string& where) {
    EXPECT_EQ(listed(learner::unseenTexts(*f)), "") << where;
    EXPECT_EQ(listed(learner::textsInOtherFaces(*f)), "") << where;
  }

  // Each page of the lesson, and on the full-text pages every scroll
  // position the down arrow reaches.
  void expectEveryPageSeen(const std::string& lesson) {
    for (int page : kPages) {
      learner::click(f->Label14(page));
      ASSERT_EQ(f->studymode, page);
      const std::string where = lesson + ", page " + std::to_string(page);
      expectSeen(where);
      if (!f->Command33.visible() || !f->Picture5.visible()) continue;
      for (int step = 0;
           step < 200 && f->Picture2.top() + f->Picture2.height() > f->Picture5.height(); ++step) {
        learner::click(f->Command33);
        expectSeen(where + ", scrolled to " + std::to_string(f->Picture2.top()));
      }
    }
  }

  void expectEveryLessonSeen() {
    for (int i = 0; i < f->List1.listCount(); ++i) {
      const std::string title = f->List1.list(i);
      ASSERT_TRUE(learner::clickRow(f->TreeView1, title)) << title;
      ASSERT_EQ(f->loadedlesson, i) << title;
      expectEveryPageSeen(f->Combo1.text() + " " + title);
    }
  }
};

TEST_F(Seen, EveryPageOfEveryShippedLesson) {
  for (const char* book : {"Book01", "Book04"}) {
    SCOPED_TRACE(book);
    start(book);
    h.messages.clear();
    expectEveryLessonSeen();
    for (const ui::MessageBoxCall& m : h.messages) ADD_FAILURE() << "told: " << m.prompt;
  }
}

TEST_F(Seen, LongAndWrappingSentences) {
  const std::string& longEnglish = kLongEnglish;
  const std::string& longChinese = kLongChinese;
  h.folder.copyShippedFiles();
  h.folder.writeBook(
      "Book01", {"长句"},
      {lessonText({{"Hi.", "嗨。", "0.1", "0.5", ""},
                   {longEnglish, longChinese, "1", "9", "长句"},
                   {"Good morning, Lily. How are you?", "早上好，莉莉。你好吗？", "10", "12", ""},
                   {"If it rains tomorrow morning, we will meet at the station "
                    "café instead and take the later train together.",
                    "短。", "13", "30", ""},
                   {"Take care.", longChinese + longChinese, "31", "40", ""},
                   // Learners' own books mix scripts: Chinese in an English
                   // line, pinyin with tone marks, symbols.
                   {"Say “你好” (nǐ hǎo) to Tom — ★ it means hello.", "说“你好”。", "41", "43",
                    "nǐ hǎo ☆"}})});
  h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\1\\0\\1\\0\\1\\1\\Book01\\60\\");
  f = &h.start();
  expectEveryPageSeen("long sentences");
  // Each sentence on the pages that show one at a time.
  for (int page : {1, 5, 8}) {
    learner::click(f->Label14(page));
    for (int s = 2; s <= 6; ++s) {
      learner::click(page == 5 ? f->Command14 : f->Command1);
      expectSeen("page " + std::to_string(page) + ", sentence " + std::to_string(s));
    }
  }
}

// The check itself sees a covered text and a cut one.
TEST_F(Seen, TheCheckFindsCoveredAndCutTexts) {
  h.writeDefaultCourse();
  f = &h.start();
  learner::click(f->Label14(1));
  ASSERT_EQ(listed(learner::unseenTexts(*f)), "");

  f->Label1.raise();
  f->Label35.setCaption("a caption far too long for its little place on the page");
  f->Label35.setAutoSize(false);
  f->Label35.setWidth(300);
  auto faults = learner::unseenTexts(*f);
  ASSERT_FALSE(faults.empty());
  EXPECT_NE(listed(faults).find("a caption far too long"), std::string::npos) << listed(faults);

  f->Label35.setAutoSize(true);
  f->Shape1.raise();  // an outline draws only its border: the text shows
  ui::Picture& cover = f->Picture12;
  cover.move(f->Label35.left(), f->Label35.top(), 2000, 400);
  cover.setVisible(true);
  cover.raise();
  faults = learner::unseenTexts(*f);
  EXPECT_NE(listed(faults).find("covered by"), std::string::npos) << listed(faults);
}

// The face check sees a text fontconfig would draw in another face: Hangul is
// in none of the program's faces (a CJK font of the machine draws it, or none
// does and it is a box), and a widget given a font the program did not choose.
TEST_F(Seen, TheCheckFindsTextsInOtherFaces) {
  h.writeDefaultCourse();
  f = &h.start();
  learner::click(f->Label14(1));
  ASSERT_EQ(listed(learner::textsInOtherFaces(*f)), "");

  f->Label35.setCaption("안녕하세요");
  auto faults = learner::textsInOtherFaces(*f);
  ASSERT_EQ(faults.size(), 1u) << listed(faults);
  EXPECT_NE(faults[0].find("안녕하세요"), std::string::npos) << faults[0];

  f->Label35.setCaption("Hello");
  f->Label35.widget()->setFont(QFont("DejaVu Sans Mono"));
  faults = learner::textsInOtherFaces(*f);
  ASSERT_EQ(faults.size(), 1u) << listed(faults);
  EXPECT_NE(faults[0].find("names DejaVu Sans Mono"), std::string::npos) << faults[0];
}

}  // namespace

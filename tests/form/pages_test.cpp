// The page tabs and the layout of the six study pages.
#include <gtest/gtest.h>

#include "support/form_harness.h"
#include "support/learner.h"

namespace {

struct Pages : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void start(int sentences = 12, const char* settings = "0\\1\\1\\1\\0\\2\\1\\1\\0\\Book01\\60\\") {
    h.folder.writeBook("Book01", {"L1", "L2"}, {numberedLesson(sentences), numberedLesson(1)});
    h.folder.write("\\SETTING\\set.dat", settings);
    f = &h.start();
  }
  void tab(int k) { learner::click(f->Label14(k)); }
  void choose(ui::ComboBox& c, const std::string& entry) {
    for (int i = 0; i < c.listCount(); ++i)
      if (c.list(i) == entry) return c.choose(i);
  }
  bool hidden(const ui::Label& line, const ui::Label& model) {
    return line.foreColor() == model.backColor();
  }
};

TEST_F(Pages, EachPageShowsItsGroups) {
  start();
  struct Row {
    int mode;
    bool frame5, frame11, frame2, frame13, frame1, frame7, frame8, frame21, text, frame3, reset,
        readAlong;
    const char* title;
  };
  const Row rows[] = {
      {1, 1, 0, 1, 0, 1, 1, 1, 0, 0, 0, 0, 0, "句子学习"},
      {2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, "全文浏览"},
      {3, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, "回想中文"},
      {4, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, "回想英文"},
      {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, "跟读对比"},
      {8, 0, 1, 0, 1, 1, 0, 1, 1, 0, 0, 0, 0, "听写测试"},
  };
  for (const Row& r : rows) {
    tab(r.mode);
    SCOPED_TRACE(r.mode);
    EXPECT_EQ(f->studymode, r.mode);
    EXPECT_EQ(f->Frame5.visible(), r.frame5);
    EXPECT_EQ(f->Frame11.visible(), r.frame11);
    EXPECT_EQ(f->Frame2.visible(), r.frame2);
    EXPECT_EQ(f->Frame13.visible(), r.frame13);
    EXPECT_EQ(f->Frame1.visible(), r.frame1);
    EXPECT_EQ(f->Frame7.visible(), r.frame7);
    EXPECT_EQ(f->Frame8.visible(), r.frame8);
    EXPECT_EQ(f->Frame21.visible(), r.frame21);
    EXPECT_EQ(f->Picture5.visible(), r.text);
    EXPECT_EQ(f->Shape8.visible(), r.text);
    EXPECT_EQ(f->Frame3.visible(), r.frame3);
    EXPECT_EQ(f->Command16.visible(), r.reset);
    EXPECT_EQ(f->Picture4.visible(), r.readAlong);
    EXPECT_EQ(f->Label7(12).caption(), r.title);
    EXPECT_EQ(f->Image30.left(), f->Label14(r.mode).left() - 60);
    EXPECT_EQ(f->Command6.caption(), "全文朗读");
    EXPECT_EQ(f->Command7.caption(), "暂停朗读");
    EXPECT_FALSE(f->Command7.enabled());
    EXPECT_FALSE(f->Timer2.enabled());
  }
  tab(3);
  EXPECT_EQ(f->Label7(13).caption(),
            "点击英文句子下方的空行即可显示相对应的中文，按“重置”为恢复。");
}

TEST_F(Pages, ThePlaybackPairsOfPagesOneAndTwoAreRemembered) {
  start();
  choose(f->Combo2, "3");
  tab(2);
  EXPECT_EQ(f->Combo2.text(), "2");  // the browse pair from the settings
  EXPECT_EQ(f->Combo3.text(), "1");
  EXPECT_EQ(f->Timer2.interval(), 1010);
  EXPECT_FALSE(f->Frame2.visible());
  tab(1);
  EXPECT_EQ(f->Combo2.text(), "3");
  EXPECT_EQ(f->Combo3.text(), "0");
  for (int k : {3, 4, 5, 8}) {
    tab(k);
    EXPECT_EQ(f->Combo2.text(), "1") << k;
    EXPECT_EQ(f->Combo3.text(), "0") << k;
    EXPECT_EQ(f->Timer2.interval(), 10) << k;
  }
  f->close();
  EXPECT_EQ(h.folder.exists("\\SETTING\\set.dat"), true);
  EXPECT_EQ(f->repeatstudy, "3");
  EXPECT_EQ(f->repeatbrowse, "2");
}

TEST_F(Pages, TheRowsTakeThePresentationOfThePage) {
  start(4);
  auto& e = f->Label6;
  auto& c = f->Label8;
  tab(3);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_FALSE(hidden(e(i), e(0)));
    EXPECT_TRUE(hidden(c(i), c(0)));
    EXPECT_TRUE(f->Label17(i).visible());
    EXPECT_FALSE(f->Image2(i).visible());
    EXPECT_EQ(c(i).mousePointer(), ui::Pointer::Hand);
  }
  f->TreeView1.clickNode(2);  // a load on page 3 keeps its presentation
  EXPECT_TRUE(hidden(c(1), c(0)));
  tab(4);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_TRUE(hidden(e(i), e(0)));
    EXPECT_FALSE(hidden(c(i), c(0)));
    EXPECT_TRUE(f->Image2(i).visible());
    EXPECT_TRUE(f->Label18(i).visible());
    EXPECT_FALSE(f->Label12(i).visible());
  }
  f->Check5.setValue(0);
  tab(2);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_TRUE(hidden(e(i), e(0)));  // English off, still in place
    EXPECT_FALSE(hidden(c(i), c(0)));
    EXPECT_FALSE(f->Image2(i).visible());
    EXPECT_TRUE(f->Label12(i).visible());
  }
}

TEST_F(Pages, TheDictationTabStartsAtTheFirstSentence) {
  start(12);
  for (int i = 1; i < 7; ++i) learner::click(f->Command1);
  ASSERT_EQ(f->Label3.caption(), "7");
  h.player->log.clear();
  tab(8);
  EXPECT_EQ(f->Label3.caption(), "1");
  EXPECT_EQ(f->Label7(5).caption(), "1 / 12");
  EXPECT_EQ(f->Label1.caption(), "Sentence 1.");
  EXPECT_FALSE(f->Label1.visible());
  EXPECT_TRUE(f->Label51.visible());
  EXPECT_EQ(h.player->plays(), 1);
  EXPECT_EQ(h.player->position, 2.0);
  EXPECT_FALSE(f->Command2.enabled());
  EXPECT_FALSE(f->Command13.enabled());
  EXPECT_TRUE(f->Command1.enabled());
  EXPECT_EQ(f->Label33.caption(), "0");
  EXPECT_EQ(f->Picture10.left(), -f->Picture10.width());
}

TEST_F(Pages, TheDictationTabOnAOneSentenceLessonKeepsNextDisabled) {
  start(1);
  tab(8);
  EXPECT_FALSE(f->Command1.enabled());
  EXPECT_FALSE(f->Command14.enabled());
}

TEST_F(Pages, TheChineseToggleMovesBetweenPagesOneAndEight) {
  start();
  tab(8);
  EXPECT_EQ(f->Frame8.left(), f->Frame7.left());
  EXPECT_EQ(f->Label22.caption(), "    句子中文提示");
  EXPECT_EQ(f->Label46.top(), -8975);
  tab(1);
  EXPECT_EQ(f->Frame8.left(), f->Frame7.left() + f->Frame7.width() + 60);
  EXPECT_EQ(f->Label22.caption(), "    显示中文");
  EXPECT_EQ(f->Label46.top(), 4029);
}

TEST_F(Pages, ATabStopsTheSoundAtOnce) {
  start();
  learner::click(f->Command4);
  ASSERT_TRUE(h.player->playing);
  tab(2);
  EXPECT_FALSE(h.player->playing);
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_TRUE(f->Combo4.hasFocus());
  f->Text2.setText("typed");
  tab(1);
  EXPECT_EQ(f->Text2.text(), "");  // page 1 shows its sentence again
}

}  // namespace

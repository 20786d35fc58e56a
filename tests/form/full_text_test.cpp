// Full-text reading, scrolling and the clicks of the browse and recall pages.
#include <gtest/gtest.h>

#include "support/form_harness.h"

namespace {

struct FullText : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void start(int sentences, const char* browse = "1\\0") {
    h.folder.writeBook("Book01", {"L1"}, {numberedLesson(sentences)});
    h.folder.write("\\SETTING\\set.dat",
                   std::string("0\\1\\1\\0\\0\\") + browse + "\\1\\0\\Book01\\60\\");
    f = &h.start();
    h.player->log.clear();
  }
  void tab(int k) { f->Label14(k).releaseMouse(); }
  void endOfPlay() {
    h.player->position = std::stod(f->playend);
    ASSERT_TRUE(f->Timer1.fire());
    ASSERT_TRUE(f->Timer2.fire());
  }
  int underlined() {
    for (int i = 1; i < f->Line3.count(); ++i)
      if (f->Line3(i).visible()) return i;
    return 0;
  }
};

TEST_F(FullText, ReadingGoesThroughEverySentenceAndEndsByItself) {
  start(3, "2\\1");
  tab(2);
  f->Command6.click();
  EXPECT_EQ(f->Command6.caption(), "停止朗读");
  EXPECT_TRUE(f->Command7.enabled());
  for (int s = 1; s <= 3; ++s) {
    EXPECT_EQ(f->readindex, s);
    EXPECT_EQ(underlined(), s);
    endOfPlay();  // first play of two
    endOfPlay();  // second play, then the next sentence
  }
  EXPECT_EQ(h.player->plays(), 6);
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_FALSE(f->Command7.enabled());
  EXPECT_EQ(underlined(), 0);
}

TEST_F(FullText, PauseHoldsAndResumes) {
  start(3);
  tab(2);
  f->Command6.click();
  f->Command7.click();
  EXPECT_EQ(f->Command7.caption(), "继续朗读");
  EXPECT_FALSE(h.player->playing);
  f->Command7.click();
  EXPECT_EQ(f->Command7.caption(), "暂停朗读");
  EXPECT_TRUE(h.player->playing);
  f->Command6.click();  // stop
  EXPECT_EQ(f->readindex, 0);
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_EQ(underlined(), 0);
}

TEST_F(FullText, ReadingScrollsByHalfAPageAndTheArrowsStepWithinTheText) {
  start(40);
  tab(2);
  const int v = f->Picture5.height(), hgt = f->Picture2.height();
  ASSERT_GT(hgt, v);
  f->Command6.click();
  int i = 1;
  while (f->Label6(i).top() + f->Label6(i).height() <= v) {
    endOfPlay();
    ++i;
  }
  EXPECT_EQ(f->readindex, i);
  EXPECT_EQ(f->Picture2.top(), -(v / 2));
  EXPECT_GT(f->Image33.top(), 255);
  f->Picture2.setTop(-300);
  f->Command32.click();
  EXPECT_EQ(f->Picture2.top(), 0);
  EXPECT_EQ(f->Image33.top(), 255);
  f->Picture2.setTop(v - hgt + 400);
  f->Combo4.setFocus();
  f->pressKey(ui::kKeyDown);
  EXPECT_EQ(f->Picture2.top(), v - hgt);
  EXPECT_EQ(f->Image33.top(), f->Command33.top() - f->Image33.height());
}

TEST_F(FullText, AClickOnASentencePlaysItAndReadingGoesOnFromThere) {
  start(12, "2\\0");
  tab(2);
  f->Label6(12).click();
  EXPECT_EQ(h.player->position, 24.0);
  EXPECT_EQ(underlined(), 12);
  f->Command6.click();
  endOfPlay();
  endOfPlay();
  f->Label6(9).click();
  EXPECT_EQ(f->readindex, 9);
  endOfPlay();
  endOfPlay();
  EXPECT_EQ(f->readindex, 10);
  f->Picture2.click(10, 10);  // the empty text area stops everything
  EXPECT_FALSE(h.player->playing);
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_TRUE(h.sounds->played.empty());  // no click sounds on this page
}

TEST_F(FullText, RecallPagesRevealWithSoundsAndResetRestores) {
  start(3);
  tab(3);
  const ui::Color hidden = f->Label8(0).backColor(), shown = f->Label8(0).foreColor();
  f->Label17(2).click();
  EXPECT_EQ(f->Label8(2).foreColor(), shown);
  EXPECT_EQ(h.sounds->played.size(), 2u);
  EXPECT_NE(h.sounds->played[0].find("MouDown.wav"), std::string::npos);
  f->Label8(2).click();
  EXPECT_EQ(f->Label8(2).foreColor(), hidden);
  f->Label17(1).click();
  f->Command16.click();
  EXPECT_EQ(f->Label8(1).foreColor(), hidden);
  EXPECT_EQ(f->Picture2.top(), 0);

  tab(4);
  f->Image2(3).pressMouse();
  EXPECT_EQ(f->Image2(3).left(), f->Image2(0).left() + 15);
  f->Image2(3).releaseMouse();
  EXPECT_EQ(f->Image2(3).left(), f->Image2(0).left());
  EXPECT_EQ(h.player->position, 6.0);
  EXPECT_EQ(underlined(), 3);
  f->Label18(1).click();
  EXPECT_EQ(f->Label6(1).foreColor(), f->Label6(0).foreColor());
  EXPECT_EQ(underlined(), 1);
}

}  // namespace

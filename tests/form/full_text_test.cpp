// Full-text reading, scrolling and the clicks of the browse and recall pages.
#include <gtest/gtest.h>

#include "support/form_harness.h"
#include "support/learner.h"

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
  void tab(int k) { learner::click(f->Label14(k)); }
  // The learner scrolls down until row i is in view, then clicks its line.
  void clickRow(ui::Label& line) {
    while (line.top() + line.height() + f->Picture2.top() > f->Picture5.height())
      learner::click(f->Command33);
    learner::click(line);
  }
  // The white space left of the rows, where no element lies.
  QPoint emptyArea() { return learner::at(f->Picture2, 150, -f->Picture2.top() + 60); }
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
  learner::click(f->Command6);
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
  learner::click(f->Command6);
  learner::click(f->Command7);
  EXPECT_EQ(f->Command7.caption(), "继续朗读");
  EXPECT_FALSE(h.player->playing);
  learner::click(f->Command7);
  EXPECT_EQ(f->Command7.caption(), "暂停朗读");
  EXPECT_TRUE(h.player->playing);
  learner::click(f->Command6);  // stop
  EXPECT_EQ(f->readindex, 0);
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_EQ(underlined(), 0);
}

TEST_F(FullText, ReadingScrollsByHalfAPageAndTheArrowsStepWithinTheText) {
  start(40);
  tab(2);
  const int v = f->Picture5.height(), hgt = f->Picture2.height();
  ASSERT_GT(hgt, v);
  learner::click(f->Command6);
  int i = 1;
  while (f->Label6(i).top() + f->Label6(i).height() <= v) {
    endOfPlay();
    ++i;
  }
  EXPECT_EQ(f->readindex, i);
  EXPECT_EQ(f->Picture2.top(), -(v / 2));
  EXPECT_GT(f->Image33.top(), 255);
  f->Picture2.setTop(-300);
  learner::click(f->Command32);
  EXPECT_EQ(f->Picture2.top(), 0);
  EXPECT_EQ(f->Image33.top(), 255);
  f->Picture2.setTop(v - hgt + 400);
  f->Combo4.setFocus();
  learner::key(*f, Qt::Key_Down);
  EXPECT_EQ(f->Picture2.top(), v - hgt);
  EXPECT_EQ(f->Image33.top(), f->Command33.top() - f->Image33.height());
}

TEST_F(FullText, AClickOnASentencePlaysItAndReadingGoesOnFromThere) {
  start(12, "2\\0");
  tab(2);
  clickRow(f->Label6(12));
  EXPECT_EQ(h.player->position, 24.0);
  EXPECT_TRUE(h.player->playing);  // and still playing after the release
  EXPECT_EQ(underlined(), 12);
  learner::click(f->Command32);  // back to the top
  learner::click(f->Command6);
  endOfPlay();
  endOfPlay();
  clickRow(f->Label6(9));
  EXPECT_EQ(f->Command6.caption(), "停止朗读");  // reading goes on
  EXPECT_EQ(f->readindex, 9);
  EXPECT_TRUE(h.player->playing);
  endOfPlay();
  endOfPlay();
  EXPECT_EQ(f->readindex, 10);
  learner::click(*f, emptyArea());  // the empty text area stops everything
  EXPECT_FALSE(h.player->playing);
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_TRUE(h.sounds->played.empty());  // no click sounds on this page
}

TEST_F(FullText, RecallPagesRevealWithSoundsAndResetRestores) {
  start(3);
  tab(3);
  const ui::Color hidden = f->Label8(0).backColor(), shown = f->Label8(0).foreColor();
  // The empty space under an English sentence: the Chinese band's far end.
  auto band = [&](ui::Label& b) { return learner::at(b, b.width() - 300, 45); };
  learner::click(*f, band(f->Label17(2)));
  EXPECT_EQ(f->Label8(2).foreColor(), shown);
  ASSERT_EQ(h.sounds->played.size(), 2u);
  EXPECT_NE(h.sounds->played[0].find("MouDown.wav"), std::string::npos);
  EXPECT_NE(h.sounds->played[1].find("MouUp.wav"), std::string::npos);
  learner::click(f->Label8(2));  // the revealed line itself hides it again
  EXPECT_EQ(f->Label8(2).foreColor(), hidden);
  learner::click(*f, band(f->Label17(1)));
  learner::click(f->Command16);
  EXPECT_EQ(f->Label8(1).foreColor(), hidden);
  EXPECT_EQ(f->Picture2.top(), 0);

  tab(4);
  learner::press(*f, learner::at(f->Image2(3)));
  EXPECT_EQ(f->Image2(3).left(), f->Image2(0).left() + 15);
  learner::release(*f, learner::at(f->Image2(3)));
  EXPECT_EQ(f->Image2(3).left(), f->Image2(0).left());
  EXPECT_EQ(h.player->position, 6.0);
  EXPECT_TRUE(h.player->playing);
  EXPECT_EQ(underlined(), 3);
  learner::click(*f, learner::at(f->Label18(1), f->Label18(1).width() - 300, 30));
  EXPECT_EQ(f->Label6(1).foreColor(), f->Label6(0).foreColor());
  EXPECT_EQ(underlined(), 1);
}

}  // namespace

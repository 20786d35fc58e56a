// The sentence player over a stand-in that reports the position the test
// sets, with the timers ticked by the test.
#include <gtest/gtest.h>

#include "support/form_harness.h"
#include "support/learner.h"

namespace {

struct Player : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void SetUp() override {
    h.folder.writeBook("Book01", {"L1"}, {numberedLesson(12)});
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\2\\1\\1\\0\\Book01\\60\\");
    h.folder.writeBytes("\\Recorder.wav", "RIFF");
    f = &h.start();
    h.player->log.clear();
  }
  void choose(ui::ComboBox& c, const std::string& entry) {
    for (int i = 0; i < c.listCount(); ++i)
      if (c.list(i) == entry) return c.choose(i);
    FAIL() << entry;
  }
  // The end watcher sees the position reach the stretch end.
  void reachEnd() {
    h.player->position = std::stod(f->playend);
    ASSERT_TRUE(f->Timer1.fire());
  }
  void tab(int k) { learner::click(f->Label14(k)); }
};

TEST_F(Player, RepeatThreeWithIntervalTwoPlaysThreeTimes) {
  choose(f->Combo2, "3");
  choose(f->Combo3, "2");
  EXPECT_EQ(f->Timer2.interval(), 2010);
  EXPECT_EQ(f->repeatstudy, "3");
  EXPECT_EQ(f->pausestudy, "2");
  learner::click(f->Command4);
  EXPECT_EQ(h.player->plays(), 1);
  EXPECT_EQ(h.player->guard, 3.0);
  EXPECT_TRUE(f->Text2.hasFocus());
  for (int play = 1; play <= 3; ++play) {
    h.player->position = 2.5;
    EXPECT_TRUE(f->Timer1.fire());
    EXPECT_TRUE(f->Timer1.enabled()) << "not yet at the end";
    reachEnd();
    EXPECT_FALSE(f->Timer1.enabled());
    EXPECT_FALSE(h.player->playing);
    EXPECT_EQ(f->playcount, play);
    EXPECT_TRUE(f->Timer2.enabled());
    EXPECT_TRUE(f->Timer2.fire());
    EXPECT_FALSE(f->Timer2.enabled());
    EXPECT_EQ(h.player->plays(), std::min(play + 1, 3));
  }
  EXPECT_FALSE(f->Timer1.enabled());  // the third interval had no effect
  learner::click(f->Command4);        // the count is reached: one more play
  reachEnd();
  f->Timer2.fire();
  EXPECT_EQ(h.player->plays(), 4);
  choose(f->Combo2, "3");  // resets the count: three plays again
  learner::click(f->Command4);
  for (int i = 0; i < 3; ++i) reachEnd(), f->Timer2.fire();
  EXPECT_EQ(h.player->plays(), 7);
}

TEST_F(Player, RepeatZeroPlaysOnceAndNavigationIsSilent) {
  choose(f->Combo2, "0");
  learner::click(f->Command1);
  EXPECT_EQ(h.player->plays(), 0);
  learner::click(f->Command4);
  reachEnd();
  f->Timer2.fire();
  EXPECT_EQ(h.player->plays(), 1);
}

TEST_F(Player, ChoosingACountDuringAPendingIntervalStartsAgain) {
  choose(f->Combo2, "1");
  learner::click(f->Command4);
  reachEnd();
  ASSERT_TRUE(f->Timer2.enabled());
  choose(f->Combo2, "2");
  EXPECT_EQ(f->playcount, 0);
  f->Timer2.fire();
  EXPECT_EQ(h.player->plays(), 2);
}

TEST_F(Player, TypedValuesCountButAreNotRemembered) {
  choose(f->Combo2, "1");
  choose(f->Combo3, "1");
  f->Combo2.typeText("2");
  f->Combo3.typeText("9");
  EXPECT_EQ(f->repeatstudy, "1");
  EXPECT_EQ(f->pausestudy, "1");
  EXPECT_EQ(f->Timer2.interval(), 1010);
  learner::click(f->Command4);
  reachEnd();
  f->Timer2.fire();
  EXPECT_EQ(h.player->plays(), 2);  // the typed 2 is read live
}

TEST_F(Player, SpeedChangesAtOnce) {
  learner::click(f->Command4);
  f->Label20(2).click();
  EXPECT_EQ(h.player->rateValue, 2.0);
  EXPECT_TRUE(f->Option3.value());
  EXPECT_FALSE(f->Option2.value());
  f->Label20(0).click();
  EXPECT_EQ(h.player->rateValue, 0.5);
  EXPECT_TRUE(h.player->playing);
  EXPECT_TRUE(f->Text2.hasFocus());
}

TEST_F(Player, AStopDuringAnIntervalPlaysNothingMore) {
  tab(5);
  choose(f->Combo2, "3");
  learner::click(f->Command11);  // standard pronunciation
  reachEnd();
  ASSERT_TRUE(f->Timer2.enabled());
  learner::click(f->Command14);  // the next sentence on the read-along page
  EXPECT_FALSE(f->Timer2.enabled());
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_FALSE(h.player->playing);
  EXPECT_EQ(f->Label3.caption(), "2");
}

TEST_F(Player, ListButtonsOpenTheirLists) {
  learner::click(f->Command30);
  EXPECT_TRUE(f->Combo2.droppedDown());
}

// A number typed into the repeat box and confirmed with Enter is not a choice
// from its list: nothing is remembered and the play count stays. A pick from
// the dropped-down list is.
TEST_F(Player, OnlyAPickFromTheListIsAChoice) {
  learner::click(f->Command4);
  reachEnd();
  ASSERT_EQ(f->playcount, 1);
  const std::string remembered = f->repeatstudy;
  learner::replaceText(f->Combo2, "3");
  learner::key(*f, Qt::Key_Return);
  EXPECT_EQ(f->Combo2.text(), "3");
  EXPECT_EQ(f->repeatstudy, remembered);
  EXPECT_EQ(f->playcount, 1);
  learner::pickFromList(f->Combo2, 4);
  EXPECT_EQ(f->Combo2.text(), "4");
  EXPECT_EQ(f->repeatstudy, "4");
  EXPECT_EQ(f->playcount, 0);
}

}  // namespace

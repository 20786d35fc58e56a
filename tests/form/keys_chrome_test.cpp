// The keyboard shortcuts and the frameless window's own controls.
#include <gtest/gtest.h>

#include "support/form_harness.h"

namespace {

struct Keys : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void SetUp() override {
    h.folder.writeBook("Book01", {"L1"}, {numberedLesson(12)});
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
    f = &h.start();
    h.player->log.clear();
  }
  void tab(int k) { f->Label14(k).releaseMouse(); }
};

TEST_F(Keys, PageKeysFollowTheirButtons) {
  f->pressKey(ui::kKeyPageUp);  // Previous is disabled on sentence 1
  EXPECT_EQ(f->Label3.caption(), "1");
  f->pressKey(ui::kKeyPageDown);
  f->pressKey(ui::kKeyPageDown);
  EXPECT_EQ(f->Label3.caption(), "3");
  tab(2);
  f->pressKey(ui::kKeyPageDown);  // only on the sentence page
  EXPECT_EQ(f->Label3.caption(), "3");
  f->pressKey(ui::kKeyPageUp);  // any page
  EXPECT_EQ(f->Label3.caption(), "2");
  f->pressKey(ui::kKeyF1);
  EXPECT_EQ(f->Label3.caption(), "1");
}

TEST_F(Keys, FunctionKeysActOnTheSentenceAndDictationPagesOnly) {
  f->pressKey(ui::kKeyF7);
  EXPECT_EQ(h.player->plays(), 1);
  f->pressKey(ui::kKeyF8);  // the hint on the sentence page (with its message)
  EXPECT_TRUE(f->Label1.visible());
  tab(3);
  h.player->log.clear();
  f->pressKey(ui::kKeyF7);
  f->pressKey(ui::kKeyF9);
  EXPECT_EQ(h.player->plays(), 0);
  tab(8);
  h.player->log.clear();
  f->pressKey(ui::kKeyF7);
  EXPECT_EQ(f->Label29.caption(), "1");  // a replay
  f->pressKey(ui::kKeyF8);
  EXPECT_EQ(f->Label27.caption(), "1");  // a hint
  f->pressKey(ui::kKeyF9);
  EXPECT_EQ(f->Label27.caption(), "0");  // redone
  EXPECT_EQ(f->Label30.caption(), "100");
}

TEST_F(Keys, AShortcutInTheAnswerBoxAlsoReachesTheBox) {
  tab(8);
  f->Text2.setFocus();
  f->Text2.type("ab");
  f->pressKey(ui::kKeyF8);
  EXPECT_EQ(f->Label27.caption(), "1");
  EXPECT_EQ(f->Text2.text(), "ab");
}

TEST_F(Keys, TheWindowMovesOnlyWithTheLeftButton) {
  const double left = f->screenLeft(), top = f->screenTop();
  f->pressMouse(ui::kLeftButton, 300, 300);
  f->moveMouse(ui::kRightButton, 600, 600);
  f->moveMouse(ui::kLeftButton | ui::kRightButton, 600, 600);
  EXPECT_EQ(f->screenLeft(), left);
  f->moveMouse(ui::kLeftButton, 450, 330);
  EXPECT_EQ(f->screenLeft(), left + 150);
  EXPECT_EQ(f->screenTop(), top + 30);
}

TEST_F(Keys, TheThumbDragStopsAtBothEnds) {
  h.folder.writeBook("Book01", {"L1"}, {numberedLesson(40)});
  f->TreeView1.clickNode(2);
  tab(2);
  f->Image33.pressMouse(ui::kLeftButton, 0, 100);
  f->Image33.moveMouse(ui::kLeftButton, 0, -5000);
  EXPECT_EQ(f->Image33.top(), 255);
  EXPECT_EQ(f->Picture2.top(), 0);
  f->Image33.moveMouse(ui::kLeftButton, 0, 20000);
  EXPECT_EQ(f->Image33.top(), f->Command33.top() - f->Image33.height());
  EXPECT_EQ(f->Picture2.top(), f->Picture5.height() - f->Picture2.height());
}

TEST_F(Keys, TheMiniModeLinkWithoutItsProgramTellsTheLearner) {
  const int left = f->Label38.left();
  f->Label38.pressMouse();
  EXPECT_EQ(f->Label38.left(), left + 15);
  f->Label38.releaseMouse(ui::kLeftButton, -3000, 0);  // released outside: still runs
  EXPECT_EQ(f->Label38.left(), left);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("mini.exe"), std::string::npos);
}

TEST_F(Keys, TheTitleBarButtonsCloseAndMinimise) {
  f->Command17(0).click();
  EXPECT_TRUE(h.folder.exists("\\SETTING\\set.dat"));
  EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")).substr(0, 2), "0\\");
}

}  // namespace

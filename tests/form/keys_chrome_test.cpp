// The keyboard shortcuts and the frameless window's own controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

#include "support/form_harness.h"
#include "support/learner.h"

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
  void tab(int k) { learner::click(f->Label14(k)); }
};

TEST_F(Keys, PageKeysFollowTheirButtons) {
  learner::key(*f, Qt::Key_PageUp);  // Previous is disabled on sentence 1
  EXPECT_EQ(f->Label3.caption(), "1");
  learner::key(*f, Qt::Key_PageDown);
  learner::key(*f, Qt::Key_PageDown);
  EXPECT_EQ(f->Label3.caption(), "3");
  tab(2);
  learner::key(*f, Qt::Key_PageDown);  // only on the sentence page
  EXPECT_EQ(f->Label3.caption(), "3");
  learner::key(*f, Qt::Key_PageUp);  // any page
  EXPECT_EQ(f->Label3.caption(), "2");
  learner::key(*f, Qt::Key_F1);
  EXPECT_EQ(f->Label3.caption(), "1");
}

TEST_F(Keys, FunctionKeysActOnTheSentenceAndDictationPagesOnly) {
  learner::key(*f, Qt::Key_F7);
  EXPECT_EQ(h.player->plays(), 1);
  learner::key(*f, Qt::Key_F8);  // the hint on the sentence page (with its message)
  EXPECT_TRUE(f->Label1.visible());
  tab(3);
  h.player->log.clear();
  learner::key(*f, Qt::Key_F7);
  learner::key(*f, Qt::Key_F9);
  EXPECT_EQ(h.player->plays(), 0);
  tab(8);
  h.player->log.clear();
  learner::key(*f, Qt::Key_F7);
  EXPECT_EQ(f->Label29.caption(), "1");  // a replay
  learner::key(*f, Qt::Key_F8);
  EXPECT_EQ(f->Label27.caption(), "1");  // a hint
  learner::key(*f, Qt::Key_F9);
  EXPECT_EQ(f->Label27.caption(), "0");  // redone
  EXPECT_EQ(f->Label30.caption(), "100");
}

// Esc stops the sentence and the repeats still to come, wherever the focus is.
TEST_F(Keys, EscStopsTheSentenceAndItsRepeats) {
  for (const char* focus : {"answer box", "repeat box"}) {
    SCOPED_TRACE(focus);
    learner::pickFromList(f->Combo2, 10);  // 每句朗读 10 次
    if (std::string(focus) == "answer box")
      learner::click(f->Text2);
    else
      learner::click(f->Combo2);
    learner::key(*f, Qt::Key_F7);
    h.player->position = std::stod(f->playend);
    ASSERT_TRUE(f->Timer1.fire());  // the first play ends: the interval runs
    ASSERT_TRUE(f->Timer2.enabled());
    learner::key(*f, Qt::Key_Escape);
    EXPECT_FALSE(h.player->playing);
    EXPECT_FALSE(f->Timer1.enabled());
    EXPECT_FALSE(f->Timer2.enabled());  // no repeat follows
    learner::key(*f, Qt::Key_F7);       // playing again is still possible
    EXPECT_TRUE(h.player->playing);
    learner::key(*f, Qt::Key_Escape);  // and Esc stops a play under way
    EXPECT_FALSE(h.player->playing);
    EXPECT_FALSE(f->Timer1.enabled());
  }
}

TEST_F(Keys, AShortcutInTheAnswerBoxAlsoReachesTheBox) {
  tab(8);
  learner::click(f->Text2);
  learner::type(*f, "ab");
  learner::key(*f, Qt::Key_F8);
  EXPECT_EQ(f->Label27.caption(), "1");
  EXPECT_EQ(f->Text2.text(), "ab");
}

// A point of the window's background: no element lies there.
QPoint background(const Form1& f) {
  QPoint p(300, 6);  // the title bar, right of the title
  EXPECT_EQ(f.widget()->childAt(p), nullptr);
  return p;
}

TEST_F(Keys, TheWindowMovesOnlyWithTheLeftButtonOnItsBackground) {
  const double left = f->screenLeft(), top = f->screenTop();
  const QPoint p = background(*f);
  learner::drag(*f, p, p + QPoint(40, 40), Qt::RightButton);
  EXPECT_EQ(f->screenLeft(), left);
  EXPECT_EQ(f->screenTop(), top);
  learner::press(*f, p);
  learner::moveTo(*f, p + QPoint(10, 2));
  // The window moved under the pointer: the pointer is over the same point of
  // the window as at the press, and the release there moves nothing more.
  learner::release(*f, p);
  EXPECT_EQ(f->screenLeft(), left + 150);
  EXPECT_EQ(f->screenTop(), top + 30);
}

TEST_F(Keys, TheThumbDragMovesTheTextAndNotTheWindow) {
  h.folder.writeBook("Book01", {"L1"}, {numberedLesson(40)});
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "L1"));
  tab(2);
  const double left = f->screenLeft(), top = f->screenTop();
  const QPoint grip = learner::at(f->Image33);
  learner::press(*f, grip);
  learner::moveTo(*f, grip + QPoint(0, 100));
  EXPECT_GT(f->Image33.top(), 255);
  EXPECT_LT(f->Picture2.top(), 0);
  learner::moveTo(*f, grip + QPoint(0, -400));  // far above: stops at the top
  EXPECT_EQ(f->Image33.top(), 255);
  EXPECT_EQ(f->Picture2.top(), 0);
  learner::moveTo(*f, grip + QPoint(0, 1400));  // far below: stops at the bottom
  learner::release(*f, grip + QPoint(0, 1400));
  EXPECT_EQ(f->Image33.top(), f->Command33.top() - f->Image33.height());
  EXPECT_EQ(f->Picture2.top(), f->Picture5.height() - f->Picture2.height());
  EXPECT_EQ(f->screenLeft(), left);
  EXPECT_EQ(f->screenTop(), top);
}

TEST_F(Keys, TheMiniModeLinkActsOnItsReleaseWhereverItIs) {
  const int linkLeft = f->Label38.left();
  const double left = f->screenLeft();
  const QPoint p = learner::at(f->Label38);
  learner::press(*f, p);
  EXPECT_EQ(f->Label38.left(), linkLeft + 15);
  learner::moveTo(*f, p + QPoint(-200, 30));  // the window stays where it is
  EXPECT_EQ(f->screenLeft(), left);
  learner::release(*f, p + QPoint(-200, 30));  // released outside: still runs
  EXPECT_EQ(f->Label38.left(), linkLeft);
  EXPECT_TRUE(h.messages.empty());
  EXPECT_TRUE(f->miniMode().on()) << "once";
  EXPECT_FALSE(f->widget()->isVisible());
}

// The skin's maximise glyph does nothing, and is drawn greyed as a glyph that
// does nothing: its colours are those of the title band's greys, not the
// minimise button's blue.
TEST(Chrome, TheMaximiseGlyphIsGreyedAndDoesNothing) {
  FormHarness h;
  h.folder.copyShippedFiles();  // the skin
  h.writeDefaultCourse();
  Form1* f = &h.start();
  const QImage shot = f->widget()->grab().toImage();
  const auto saturation = [&](int left, int right) {  // the cell's mean
    int sum = 0, n = 0;
    for (int y = 1; y < 18; ++y)
      for (int x = left + 2; x < right - 2; ++x, ++n) sum += shot.pixelColor(x, y).hsvSaturation();
    return sum / n;
  };
  EXPECT_GT(saturation(709, 729), 100);  // minimise: blue
  EXPECT_LT(saturation(730, 750), 40);   // maximise: grey
  const double left = f->screenLeft(), top = f->screenTop();
  learner::click(*f, QPoint(740, 9));
  EXPECT_FALSE(f->widget()->isMaximized());
  EXPECT_EQ(f->screenLeft(), left);
  EXPECT_EQ(f->screenTop(), top);
  EXPECT_TRUE(f->widget()->isVisible());
}

TEST_F(Keys, TheTitleBarButtonsCloseAndMinimise) {
  learner::click(f->Command17(0));
  EXPECT_TRUE(h.folder.exists("\\SETTING\\set.dat"));
  EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")).substr(0, 2), "0\\");
}

// A screen reader names a button by its caption; a button that shows only a
// picture (a list opener, a scroll arrow, a close box) is named by what it does.
TEST_F(Keys, EveryPictureButtonHasAName) {
  for (const QAbstractButton* b : f->widget()->findChildren<QAbstractButton*>()) {
    const QPoint at = b->mapTo(f->widget(), QPoint(0, 0));
    // The check boxes that hold the switches' values lie outside the window.
    if (!b->text().isEmpty() || !f->widget()->rect().contains(at)) continue;
    EXPECT_FALSE(b->accessibleName().isEmpty())
        << "the button at (" << at.x() << ", " << at.y() << ") px in the window";
  }
}

}  // namespace

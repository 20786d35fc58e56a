// The mini mode, the guide behind "更多软件" and the book menu's link, all
// through the learner's clicks and keys on the windows as shown.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "messages/messages.h"
#include "mini/mini_strip.h"
#include "platform/text/rich_text.h"
#include "support/browser_stand_in.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

// The window a desktop would have activated on showing it.
Form1& startActive(FormHarness& h) {
  Form1& f = h.start();
  f.widget()->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(f.widget()));
  return f;
}

// The strip shows what the study events told once the event loop has run.
bool stripShows(mini::MiniStrip& s, const QString& number) {
  return QTest::qWaitFor([&] { return s.number().text() == number; }, 2000);
}

struct MiniMode : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  void SetUp() override {
    h.writeDefaultCourse();
    f = &startActive(h);
  }
  mini::MiniStrip& strip() { return f->miniMode().strip(); }
  void enter() {
    learner::click(f->Label38);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip()));
  }
  void back() { learner::click(strip().fullWindowButton()); }
};

TEST_F(MiniMode, TheWindowGivesWayToTheStripAndComesBackWhereItWasOnTheSamePlace) {
  f->moveOnScreen(900, 1200);
  const QPoint place = f->widget()->pos();
  learner::key(*f, Qt::Key_PageDown);
  learner::click(f->Label14(2));  // the full-text page
  enter();
  EXPECT_FALSE(f->widget()->isVisible());
  EXPECT_TRUE(f->miniMode().on());
  EXPECT_TRUE(strip().windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(strip().windowFlags() & Qt::FramelessWindowHint);
  ASSERT_TRUE(stripShows(strip(), "2/3"));
  EXPECT_EQ(strip().english().text(), "How are you?");
  EXPECT_EQ(strip().chinese().text(), "你好吗？");
  // About two lines of text high.
  EXPECT_LT(strip().height(), 3 * strip().fontMetrics().height() + 12);
  back();
  EXPECT_FALSE(strip().isVisible());
  ASSERT_TRUE(f->widget()->isVisible());
  EXPECT_EQ(f->widget()->pos(), place);
  EXPECT_EQ(f->Label3.caption(), "2");
  EXPECT_EQ(f->studymode, 2);
  EXPECT_TRUE(f->Picture5.visible()) << "the full text shows again";
}

// The two display toggles of the sentence page say which lines the strip shows.
TEST_F(MiniMode, TheStripShowsTheLinesTheTogglesShow) {
  struct Case {
    bool clickEnglish, clickChinese;
  };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message()
                 << "English toggled " << c.clickEnglish << ", Chinese " << c.clickChinese);
    if (c.clickEnglish) learner::click(f->Label21);
    if (c.clickChinese) learner::click(f->Label22);
    enter();
    ASSERT_TRUE(stripShows(strip(), "1/3"));
    EXPECT_EQ(strip().english().isVisible(), f->Check1.value() == 1);
    EXPECT_EQ(strip().chinese().isVisible(), f->Check2.value() == 1);
    EXPECT_EQ(strip().english().isVisible(), !c.clickEnglish);
    back();
    if (c.clickEnglish) learner::click(f->Label21);
    if (c.clickChinese) learner::click(f->Label22);
  }
  learner::click(f->Label14(8));  // the dictation: its answer is not shown
  enter();
  ASSERT_TRUE(stripShows(strip(), "1/3"));
  EXPECT_FALSE(strip().english().isVisible());
  EXPECT_TRUE(strip().chinese().isVisible());
}

// Each button and key of the strip runs the window's handler: the window's
// sentence and player follow, and the strip follows the window.
TEST_F(MiniMode, ItsButtonsAndTheSentencePagesKeysDriveTheWindowsPlayer) {
  enter();
  h.player->log.clear();
  mini::MiniStrip& s = strip();
  EXPECT_FALSE(s.previousButton().isEnabled()) << "no sentence before the first";
  learner::click(s.nextButton());
  EXPECT_EQ(f->Label3.caption(), "2");
  ASSERT_TRUE(stripShows(s, "2/3"));
  EXPECT_EQ(h.player->plays(), 1) << "a repeat count of 1 plays the new sentence";
  learner::click(s.replayButton());
  EXPECT_EQ(h.player->plays(), 2);
  learner::click(s.previousButton());
  EXPECT_EQ(f->Label3.caption(), "1");
  ASSERT_TRUE(stripShows(s, "1/3"));

  learner::key(s, Qt::Key_PageDown);
  learner::key(s, Qt::Key_PageDown);
  EXPECT_EQ(f->Label3.caption(), "3");
  ASSERT_TRUE(stripShows(s, "3/3"));
  EXPECT_FALSE(s.nextButton().isEnabled()) << "no sentence after the last";
  learner::key(s, Qt::Key_PageUp);
  EXPECT_EQ(f->Label3.caption(), "2");
  learner::key(s, Qt::Key_F1);
  EXPECT_EQ(f->Label3.caption(), "1");
  const int plays = h.player->plays();
  learner::key(s, Qt::Key_F7);
  EXPECT_EQ(h.player->plays(), plays + 1);
  EXPECT_TRUE(f->Timer1.enabled());
  learner::key(s, Qt::Key_Escape);
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_FALSE(h.player->playing);

  learner::click(s.speedButton(0));
  EXPECT_EQ(h.player->rateValue, 0.5);
  EXPECT_EQ(f->Option1.value(), true);
  learner::click(s.speedButton(2));
  EXPECT_EQ(h.player->rateValue, 2.0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.speedButton(2).isChecked(); }, 2000));

  learner::click(s.repeatBox());  // its list opens; keys pick the next count
  learner::keyToMenu(Qt::Key_Down);
  learner::keyToMenu(Qt::Key_Return);
  EXPECT_EQ(f->Combo2.text(), "2");
  EXPECT_EQ(f->lessonView().repeat(), 2);
  learner::key(s, Qt::Key_PageDown);  // the sentence's key still, not the list's
  EXPECT_EQ(f->Combo2.text(), "2");
  EXPECT_EQ(f->Label3.caption(), "2");
}

TEST_F(MiniMode, TheStripKeepsItsPlaceAndStaysOnAcrossARestart) {
  enter();
  const QPoint before = strip().pos();
  const QPoint grip(3, strip().height() / 2);  // the strip's margin, left of the texts
  learner::press(strip(), grip);
  learner::moveTo(strip(), grip + QPoint(50, 30));
  learner::release(strip(), grip);
  const QPoint dragged = before + QPoint(50, 30);
  EXPECT_EQ(strip().pos(), dragged);
  h.close();  // the program ends while the strip shows

  platform::RichTextBox settings;  // its eleven fields, and nothing of the strip
  ASSERT_EQ(settings.loadFile(h.folder.full("\\SETTING\\set.dat")),
            platform::RichTextBox::Load::Ok);
  EXPECT_EQ(std::count(settings.text().begin(), settings.text().end(), '\\'), 11)
      << settings.text();
  EXPECT_TRUE(h.folder.exists("\\SETTING\\mini.dat"));
  Form1& again = h.start();
  mini::MiniStrip& s = again.miniMode().strip();
  ASSERT_TRUE(again.miniMode().on()) << "the strip comes back on";
  EXPECT_FALSE(again.widget()->isVisible());
  EXPECT_EQ(s.pos(), dragged);
  learner::click(s.fullWindowButton());
  EXPECT_TRUE(again.widget()->isVisible());
  h.close();
  EXPECT_FALSE(h.start().miniMode().on()) << "left in the full window, it starts there";
}

TEST_F(MiniMode, EveryTextOfTheStripIsSeenWhole) {
  h.folder.writeBook(
      "Book01", {"L1"},
      {lessonText({{"Would you mind telling me the way to the railway station, "
                    "please? I am afraid I am lost.",
                    "劳驾，请告诉我去火车站怎么走好吗？我恐怕迷路了。", "0.5", "1.5", ""}})});
  h.close();
  f = &startActive(h);
  enter();
  ASSERT_TRUE(stripShows(strip(), "1/1"));
  EXPECT_EQ(learner::unseenTexts(strip()), std::vector<std::string>{});
  EXPECT_EQ(learner::textsInOtherFaces(strip()), std::vector<std::string>{});
}

TEST(Guide, MoreSoftwareOpensTheShippedGuideInTheBrowser) {
  FormHarness h;
  h.folder.copyShippedFiles();
  h.writeDefaultCourse();
  Form1& f = h.start();
  BrowserStandIn browser;
  learner::click(f.Label39);
  ASSERT_EQ(browser.opened.size(), 1u);
  const QUrl url = browser.opened[0];
  EXPECT_TRUE(url.isLocalFile());
  EXPECT_EQ(url.toLocalFile().toStdString(), h.folder.full("\\guide\\index.html"));
  EXPECT_TRUE(h.folder.exists("\\guide\\index.html"));
  EXPECT_TRUE(h.messages.empty());
  EXPECT_TRUE(f.widget()->isVisible()) << "the window is unchanged";
}

TEST(Guide, AGuideThatIsNotThereIsTold) {
  FormHarness h;
  h.writeDefaultCourse();
  Form1& f = h.start();
  BrowserStandIn browser;
  learner::click(f.Label39);
  EXPECT_TRUE(browser.opened.empty());
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt.find(messages::kGuideMissing), 0u);
}

// The book menu has a link of its own under the tree, and the tree's root says so.
TEST(BookMenu, TheLinkUnderTheTreeOpensTheTreesMenu) {
  FormHarness h;
  h.writeDefaultCourse();
  h.folder.writeBook("Book04", {"W1"}, {numberedLesson(2)});
  Form1& f = h.start();
  EXPECT_TRUE(f.BookMenuLink.visible());
  EXPECT_NE(f.TreeView1.nodeToolTip(1).find("选择课本"), std::string::npos);
  learner::click(f.TreeView1, Qt::RightButton);
  const std::vector<std::string> byRightClick = learner::menuEntries();
  learner::keyToMenu(Qt::Key_Escape);
  learner::click(f.BookMenuLink);
  EXPECT_EQ(learner::menuEntries(), byRightClick);
  EXPECT_EQ(byRightClick, (std::vector<std::string>{"✓Book01", "Book04"}));
  ASSERT_TRUE(learner::pickFromMenu("Book04"));
  EXPECT_EQ(f.Combo1.text(), "Book04");
  EXPECT_EQ(learner::unseenTexts(f), std::vector<std::string>{});
}

}  // namespace

// Opening lessons: the loader, the rows of the full text, the sentence cursor
// and the display toggles, driven on the real window.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>
#include <climits>
#include <filesystem>
#include <functional>

#include "platform/text/rich_text.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

const char* kSettings = "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\";  // repeat 0: silent steps

struct Lessons : ::testing::Test {
  FormHarness h;
  Form1& startWith(const std::vector<std::string>& lessons, const char* settings = kSettings,
                   bool withAudio = true) {
    std::vector<std::string> titles;
    for (size_t i = 0; i < lessons.size(); ++i) titles.push_back("Lesson " + std::to_string(i + 1));
    h.folder.writeBook("Book01", titles, lessons, withAudio);
    h.folder.write("\\SETTING\\set.dat", settings);
    return h.start();
  }
  void open(Form1& f, int row) { f.TreeView1.clickNode(row + 2); }
};

TEST_F(Lessons, TwoRecordsGiveTwoNumberedRows) {
  Form1& f = startWith({numberedLesson(2)});
  EXPECT_EQ(f.Label4.caption(), "2");
  EXPECT_EQ(f.Label3.caption(), "1");
  EXPECT_EQ(f.Label7(5).caption(), "1 / 2");
  EXPECT_EQ(f.Label12(1).caption(), "1.");
  EXPECT_EQ(f.Label12(2).caption(), "2.");
  EXPECT_EQ(f.Label6(2).caption(), "Sentence 2.");
  EXPECT_EQ(f.Label8(2).caption(), "第2句。");
  EXPECT_FALSE(f.Command2.enabled());
  EXPECT_FALSE(f.Command13.enabled());
  EXPECT_TRUE(f.Command1.enabled());
  EXPECT_TRUE(f.Command14.enabled());
  EXPECT_EQ(f.Label37.caption(), "Lesson 1");
  EXPECT_EQ(f.Label7(20).caption(), "Lesson 1");
  EXPECT_EQ(f.Label6(1).top(), 240);  // measured from the template at -60, 210 high
  EXPECT_EQ(f.Label18(1).top(), f.Label6(1).top() - 100);
  EXPECT_EQ(f.Label8(1).top(), f.Label6(1).top() + f.Label6(1).height() + 90);
  EXPECT_EQ(f.Label6(2).top(), f.Label8(1).top() + f.Label8(1).height() + 90);
  EXPECT_EQ(f.Line3(1).y1(), f.Label6(1).top() + f.Label6(1).height() + 30);
  EXPECT_FALSE(f.Line3(1).visible());
  EXPECT_EQ(h.player->volumeValue, 100);
  EXPECT_FALSE(h.player->autoStart);
  EXPECT_EQ(h.player->url, h.folder.full("\\Sound\\Book01\\1.mp3"));
  EXPECT_EQ(f.Label33.caption(), "0");
  EXPECT_EQ(f.Picture10.left(), -f.Picture10.width());
}

TEST_F(Lessons, LessonTenUsesItsNumberAndMovesTwoDigitNumbersLeft) {
  std::vector<std::string> lessons(10, numberedLesson(1));
  lessons[9] = numberedLesson(11);
  Form1& f = startWith(lessons, "9\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
  EXPECT_EQ(h.player->url, h.folder.full("\\Sound\\Book01\\10.mp3"));
  EXPECT_EQ(f.Label4.caption(), "11");
  EXPECT_EQ(f.Label12(9).left(), f.Label12(0).left());
  EXPECT_EQ(f.Label12(10).left(), f.Label12(0).left() - 120);
}

TEST_F(Lessons, WmaBooksPlayTheirWmaFile) {
  h.folder.writeBook("Book04", {"W1"}, {numberedLesson(1)});
  h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book04\\60\\");
  h.start();
  EXPECT_EQ(h.player->url, h.folder.full("\\Sound\\Book04\\1.wma"));
  EXPECT_TRUE(h.messages.empty());
}

TEST_F(Lessons, AWideSentenceWrapsToTheRowWidth) {
  const std::string wide =
      "This is a rather long sentence that certainly cannot fit on one line of the full text "
      "page because it goes on and on and on for quite a while.";
  Form1& f = startWith({lessonText({{wide, "长句", "1", "2", ""}})});
  f.Picture2.setWidth(8100);  // W = 7000
  open(f, 0);
  ui::Label probe(f);
  probe.setFont(f.Label6(0).font());
  probe.setAutoSize(true);
  probe.setCaption(wide);
  const int oneLine = probe.width();
  probe.setVisible(false);
  ASSERT_GT(oneLine, 7000);
  EXPECT_EQ(f.Label6(1).width(), 7000);
  // As many template heights as its width asks for, or more where the words
  // need more lines: every word is seen.
  EXPECT_GE(f.Label6(1).height(), (oneLine / 7000 + 1) * f.Label6(0).height());
  EXPECT_EQ(f.Label18(1).width(), 7000);
  learner::click(f.Label14(2));
  EXPECT_EQ(learner::unseenTexts(f), std::vector<std::string>{});
}

TEST_F(Lessons, FortyRowsAreReplacedByFiveAndThePanelFitsThem) {
  Form1& f = startWith({numberedLesson(40), numberedLesson(5)});
  EXPECT_EQ(f.Label5.count(), 41);
  EXPECT_TRUE(f.Command33.visible());
  EXPECT_TRUE(f.Image33.visible());
  EXPECT_FALSE(f.EnFaImage.visible());
  open(f, 1);
  for (auto* a : {&f.Label5, &f.Label6, &f.Label8, &f.Label12, &f.Label17, &f.Label18})
    EXPECT_EQ(a->count(), 6);
  EXPECT_EQ(f.Line3.count(), 6);
  EXPECT_EQ(f.Image2.count(), 6);
  EXPECT_EQ(f.Picture2.height(), f.Label8(5).top() + f.Label8(5).height() + 130);
  EXPECT_EQ(f.Picture2.top(), 0);
  EXPECT_EQ(f.Image33.top(), 255);
  EXPECT_FALSE(f.Command32.visible());
  EXPECT_FALSE(f.Command33.visible());
  EXPECT_FALSE(f.Image32.visible());
  EXPECT_FALSE(f.Image33.visible());
  EXPECT_TRUE(f.EnFaImage.visible());
  EXPECT_TRUE(f.EnUnderImage.visible());
}

TEST_F(Lessons, NavigationStaysInsideTheLesson) {
  Form1& f = startWith({numberedLesson(3), numberedLesson(1)});
  h.player->log.clear();
  learner::click(f.Command1);
  learner::click(f.Command1);
  EXPECT_EQ(f.Label1.caption(), "Sentence 3.");
  EXPECT_FALSE(f.Command1.enabled());
  EXPECT_FALSE(f.Command14.enabled());
  learner::click(f.Command2);
  EXPECT_EQ(f.Label1.caption(), "Sentence 2.");
  EXPECT_EQ(f.Label7(5).caption(), "2 / 3");
  EXPECT_TRUE(f.Command1.enabled());
  learner::click(f.Command2);
  EXPECT_FALSE(f.Command2.enabled());
  EXPECT_FALSE(f.Command13.enabled());
  learner::click(f.Command1);
  learner::click(f.Command3);  // First
  EXPECT_EQ(f.Label1.caption(), "Sentence 1.");
  EXPECT_EQ(f.Label7(5).caption(), "1 / 3");
  EXPECT_FALSE(f.Command2.enabled());
  EXPECT_TRUE(f.Command1.enabled());
  EXPECT_EQ(h.player->plays(), 0);  // repeat count 0: silent steps

  open(f, 1);  // one sentence
  learner::click(f.Command3);
  EXPECT_FALSE(f.Command1.enabled());
  EXPECT_FALSE(f.Command14.enabled());
  EXPECT_FALSE(f.Command2.enabled());
  EXPECT_FALSE(f.Command13.enabled());
}

TEST_F(Lessons, WithARepeatCountTheNewSentencePlaysItsStretch) {
  Form1& f = startWith({numberedLesson(3)}, "0\\1\\1\\2\\0\\1\\0\\1\\0\\Book01\\60\\");
  h.player->log.clear();
  learner::click(f.Command1);
  ASSERT_EQ(h.player->plays(), 1);
  EXPECT_EQ(h.player->position, 4.0);  // "Sentence 2." starts at 4.0
  EXPECT_EQ(h.player->guard, 5.0);
  EXPECT_TRUE(f.Timer1.enabled());
}

TEST_F(Lessons, TheSwitchesShowAndHideTheSentence) {
  Form1& f = startWith({numberedLesson(3)});
  ASSERT_TRUE(f.Label1.visible());
  f.Label21.click();
  EXPECT_EQ(f.Check1.value(), 0);
  EXPECT_FALSE(f.Label1.visible());
  EXPECT_TRUE(f.Label51.visible());
  EXPECT_EQ(f.Label51.caption(), "________ 1.");
  f.Label22.click();
  EXPECT_FALSE(f.Label2.visible());
  EXPECT_FALSE(f.Label46.visible());
  f.Label22.click();
  EXPECT_TRUE(f.Label2.visible());
  f.Label24.click();
  EXPECT_EQ(f.Check4.value(), 1);
  EXPECT_TRUE(f.Label11.visible());
}

TEST_F(Lessons, TheFullTextChineseSwitchHidesEveryLineInPlace) {
  Form1& f = startWith({numberedLesson(40)});
  const int top = f.Label8(40).top();
  f.Label23.click();
  for (int i = 1; i <= 40; ++i) EXPECT_EQ(f.Label8(i).foreColor(), f.Label8(0).backColor());
  EXPECT_EQ(f.Label8(40).top(), top);
  EXPECT_TRUE(f.Combo4.hasFocus());
  f.Label23.click();
  for (int i = 1; i <= 40; ++i) EXPECT_EQ(f.Label8(i).foreColor(), f.Label8(0).foreColor());
}

TEST_F(Lessons, TreeClicks) {
  Form1& f = startWith({numberedLesson(3), numberedLesson(2), numberedLesson(1)});
  std::filesystem::remove(h.folder.full("\\book\\Book01\\3.dat"));
  learner::click(f.Command1);
  f.TreeView1.clickNode(1);  // the root: nothing
  EXPECT_EQ(f.Label3.caption(), "2");
  f.TreeView1.clickNode(2);  // the loaded lesson: loaded again
  EXPECT_EQ(f.Label3.caption(), "1");
  f.TreeView1.clickNode(3);
  EXPECT_EQ(f.Label4.caption(), "2");
  EXPECT_EQ(f.List1.toolTipText(), "当前课程：Lesson 2");
  f.TreeView1.clickNode(4);  // its file is missing
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].title, "提示");
  EXPECT_EQ(f.Label4.caption(), "2");
  EXPECT_EQ(f.List1.listIndex(), 1);
  EXPECT_EQ(f.TreeView1.selectedNode(), 3);
}

// A title the pane cuts is told whole by its tooltip; collapsing and
// expanding the root leaves the current lesson selected, not the root.
TEST_F(Lessons, TheTreeTellsALongTitleWholeAndKeepsTheLessonSelected) {
  const std::string title = "第二课 A lesson title far too long for the pane of the lesson tree";
  h.folder.writeBook("Book01", {"Lesson 1", title}, {numberedLesson(2), numberedLesson(2)});
  h.folder.write("\\SETTING\\set.dat", "1\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
  Form1& f = h.start();
  auto* tree = static_cast<QTreeWidget*>(f.TreeView1.widget());
  QTreeWidgetItem* root = tree->topLevelItem(0);
  const QRect row = tree->visualItemRect(root->child(1)) & tree->viewport()->rect();
  // Qt shows tooltips in the active window, as the learner's is.
  f.widget()->activateWindow();
  QElapsedTimer waited;
  waited.start();
  while (!f.widget()->isActiveWindow() && waited.elapsed() < 10000) ui::processEvents(10);
  ASSERT_TRUE(f.widget()->isActiveWindow());
  learner::moveTo(f, tree->viewport()->mapTo(f.widget(), row.center()));
  while (!QToolTip::isVisible() && waited.elapsed() < 10000) ui::processEvents(10);
  ASSERT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text().toStdString(), title);
  QToolTip::hideText();

  const QRect r = tree->visualItemRect(root);
  const QPoint arrow = tree->viewport()->mapTo(
      f.widget(), QPoint(r.left() - tree->indentation() / 2, r.center().y()));
  learner::click(f, arrow);
  ASSERT_FALSE(f.TreeView1.expanded(1));
  learner::click(f, arrow);
  ASSERT_TRUE(f.TreeView1.expanded(1));
  EXPECT_EQ(f.TreeView1.selectedNode(), 3);
  EXPECT_EQ(f.loadedlesson, 1);
}

// The place in each lesson is kept in the learner's data, not in the
// settings file, and found again: when the learner comes back to a lesson,
// and after a restart. The dictation test and the lesson's own node start at
// sentence 1.
TEST(Places, EachLessonOpensWhereTheLearnerLeftIt) {
  FormHarness h;
  h.writeDefaultCourse(kSettings);
  Form1* f = &h.start();
  learner::click(f->Command1);
  learner::click(f->Command1);
  ASSERT_EQ(f->Label3.caption(), "3");
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第二课 One 一句"));
  EXPECT_EQ(f->Label3.caption(), "1");
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第一课 Greetings 问候"));
  EXPECT_EQ(f->Label3.caption(), "3");
  EXPECT_EQ(f->Label1.caption(), "I'm fine, thanks.");
  EXPECT_EQ(f->Label7(5).caption(), "3 / 3");
  EXPECT_TRUE(f->Command2.enabled());
  EXPECT_FALSE(f->Command1.enabled());
  learner::click(f->Command2);
  h.close();
  EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")), kSettings);

  f = &h.start();  // a restart
  EXPECT_EQ(f->Label3.caption(), "2");
  EXPECT_EQ(f->Label1.caption(), "How are you?");
  EXPECT_TRUE(f->Command2.enabled());
  EXPECT_TRUE(f->Command1.enabled());
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第一课 Greetings 问候"));  // its own node
  EXPECT_EQ(f->Label3.caption(), "1");
  learner::click(f->Command1);
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第二课 One 一句"));
  learner::click(f->Label14(8));
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第一课 Greetings 问候"));
  EXPECT_EQ(f->Label3.caption(), "1");  // the dictation test starts at its first sentence
}

// A book of more lessons than Qt measures rows of by default (1,000): the
// tree and the list hold every title in order on the tree's background, each
// row is as wide as its title needs (the widest exactly: a long title is
// scrolled across, never cut), and a click on a row opens that lesson.
TEST_F(Lessons, ABigBooksTreeShowsEveryTitleWholeAndOpensTheClickedLesson) {
  std::vector<std::string> titles;
  for (int k = 1; k <= 1200; ++k)
    titles.push_back("第" + std::to_string(k) + "课 Lesson " + std::to_string(k));
  titles[349] = "第350课 Урок: Здравствуйте";  // shaped, not summed
  titles[1149] = "第1150课 A title long enough to scroll across the tree";
  titles[899] = "第900课 AVAWATAY Tea, Toy, Wave";  // kerning pairs
  h.folder.writeBook("Book01", titles, {numberedLesson(3)});
  for (int k : {1150, 1200}) {
    h.folder.write("\\book\\Book01\\" + std::to_string(k) + ".dat", numberedLesson(2));
    h.folder.writeBytes("\\Sound\\Book01\\" + std::to_string(k) + ".mp3", "");
  }
  h.folder.write("\\SETTING\\set.dat", kSettings);
  Form1& f = h.start();

  ASSERT_EQ(f.TreeView1.nodeCount(), 1201);
  ASSERT_EQ(f.List1.listCount(), 1200);
  EXPECT_EQ(f.TreeView1.nodeBackColor(1), ui::rgb(249, 252, 255));
  for (int k = 0; k < 1200; ++k) {
    ASSERT_EQ(f.TreeView1.nodeText(k + 2), titles[size_t(k)]) << k;
    ASSERT_EQ(f.List1.list(k), titles[size_t(k)]) << k;
    ASSERT_EQ(f.TreeView1.nodeBackColor(k + 2), ui::rgb(249, 252, 255)) << k;
  }
  EXPECT_EQ(f.TreeView1.selectedNode(), 2);

  auto* tree = static_cast<QTreeWidget*>(f.TreeView1.widget());
  int tightest = INT_MAX;
  std::string tightestTitle;
  const QModelIndex root = tree->model()->index(0, 0);
  for (int k = 0; k <= 1200; ++k) {
    const QModelIndex ix = k == 0 ? root : tree->model()->index(k - 1, 0, root);
    const std::string text = ix.data().toString().toStdString();
    const int room = tree->visualRect(ix).width() - tree->sizeHintForIndex(ix).width();
    ASSERT_GE(room, 0) << text << " is cut";
    if (room < tightest) tightest = room, tightestTitle = text;
  }
  EXPECT_EQ(tightest, 0);
  EXPECT_EQ(tightestTitle, titles[1149]);
  EXPECT_GT(tree->horizontalScrollBar()->maximum(), 0);

  for (int k : {1200, 1150}) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(learner::clickRow(f.TreeView1, titles[size_t(k - 1)]));
    EXPECT_EQ(f.loadedlesson, k - 1);
    EXPECT_EQ(f.Label37.caption(), titles[size_t(k - 1)]);
    EXPECT_EQ(f.Label4.caption(), "2");
    EXPECT_EQ(f.TreeView1.selectedNode(), k + 1);
    EXPECT_EQ(f.List1.listIndex(), k - 1);
  }
}

TEST_F(Lessons, AMissingAudioFileIsToldAndTheLessonStillLoads) {
  Form1& f = startWith({numberedLesson(2)}, kSettings, false);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("语音"), std::string::npos);
  EXPECT_EQ(h.messages[0].title, Form1::kAppTitle);
  EXPECT_EQ(f.Label4.caption(), "2");
}

TEST_F(Lessons, TheBookChangesOneTimerTickLater) {
  h.folder.writeBook("Book04", {"W1", "W2"}, {numberedLesson(4), numberedLesson(1)});
  Form1& f =
      startWith({numberedLesson(3), numberedLesson(2)}, "1\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
  f.Combo1.choose(3);  // Book04
  EXPECT_EQ(f.Combo1.text(), "Book04");
  EXPECT_EQ(f.List1.listIndex(), 0);
  EXPECT_EQ(f.List1.list(1), "W2");
  EXPECT_EQ(f.Label4.caption(), "2");  // not loaded yet
  EXPECT_TRUE(f.Timer3.fire());
  EXPECT_FALSE(f.Timer3.enabled());
  EXPECT_EQ(f.Label4.caption(), "4");
  EXPECT_EQ(h.player->url, h.folder.full("\\Sound\\Book04\\1.wma"));
  // The tree names the new book's lessons: a click on its second node opens
  // the second lesson of this book, and a pass there is this book's.
  EXPECT_EQ(f.TreeView1.nodeCount(), 3);
  EXPECT_EQ(f.TreeView1.nodeText(2), "W1");
  ASSERT_TRUE(learner::clickRow(f.TreeView1, "W2"));
  EXPECT_EQ(f.loadedlesson, 1);
  EXPECT_EQ(f.Label4.caption(), "1");
}

// The books installed are offered by a right-click on the tree; a pick by
// mouse or by keys changes the book, and the tree names its lessons.
TEST_F(Lessons, ABookIsChosenFromTheTreesMenu) {
  h.folder.writeBook("Book04", {"W1", "W2"}, {numberedLesson(4), numberedLesson(1)});
  h.folder.write("\\SETTING\\BookList\\../../escape.dat", "^x^");  // not a title
  Form1& f = startWith({numberedLesson(3), numberedLesson(2)});
  learner::click(f.TreeView1, Qt::RightButton);
  EXPECT_EQ(learner::menuEntries(), (std::vector<std::string>{"✓Book01", "Book04"}));
  ASSERT_TRUE(learner::pickFromMenu("Book04"));
  EXPECT_TRUE(learner::menuEntries().empty());  // closed
  EXPECT_EQ(f.Combo1.text(), "Book04");
  EXPECT_EQ(f.TreeView1.nodeText(2), "W1");
  EXPECT_TRUE(f.Timer3.fire());
  EXPECT_EQ(f.Label4.caption(), "4");

  learner::click(f.TreeView1, Qt::RightButton);
  EXPECT_EQ(learner::menuEntries(), (std::vector<std::string>{"Book01", "✓Book04"}));
  learner::keyToMenu(Qt::Key_Down);
  learner::keyToMenu(Qt::Key_Return);
  EXPECT_EQ(f.Combo1.text(), "Book01");
  EXPECT_TRUE(f.Timer3.fire());
  EXPECT_EQ(f.TreeView1.nodeText(2), "Lesson 1");
  EXPECT_EQ(f.Label4.caption(), "3");
}

// A book change that cannot open the new book's first lesson leaves the
// loaded lesson's book in place, list and results with it, so a pass is
// written to the book the lesson belongs to.
TEST_F(Lessons, ABookChangeThatOpensNoLessonKeepsTheLoadedBook) {
  struct Case {
    const char* name;
    std::function<void(ProgramFolder&)> prepare;
    const char* title;  // typed into the book holder, or null to choose Book04
  } cases[] = {
      {"first lesson missing",
       [](ProgramFolder& p) {
         p.writeBook("Book04", {"W1", "W2"}, {});
         std::filesystem::remove_all(p.full("\\book\\Book04"));
       },
       nullptr},
      {"lesson list missing", [](ProgramFolder&) {}, nullptr},
      {"unsafe title", [](ProgramFolder&) {}, "..\\Book01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormHarness local;
    c.prepare(local.folder);
    local.folder.writeBook("Book01", {"L1", "L2"}, {numberedLesson(3), numberedLesson(2)});
    local.folder.write("\\SETTING\\set.dat", "1\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
    Form1& f = local.start();
    ASSERT_EQ(f.Label4.caption(), "2");
    if (c.title) {
      f.Combo1.setText(c.title);
      f.Combo1_Click();
    } else {
      f.Combo1.choose(3);  // Book04
      f.Timer3.fire();
    }
    EXPECT_EQ(f.Combo1.text(), "Book01");
    EXPECT_EQ(f.List1.listCount(), 2);
    EXPECT_EQ(f.List1.list(1), "L2");
    EXPECT_EQ(f.List1.listIndex(), 1);
    EXPECT_EQ(f.RichTextBox6.text(), "^☆L1^☆L2^");
    EXPECT_EQ(f.Label4.caption(), "2");  // the loaded lesson stays
    EXPECT_FALSE(local.messages.empty());
  }
}

// Broken lesson texts never hang and never leave a half-loaded lesson.
TEST_F(Lessons, BrokenTextsLoadWithoutHangOrCrash) {
  struct Case {
    std::string text;
    std::string count;
    std::string english;
  };
  const Case cases[] = {
      {"*One#一#1#2#n#", "1", "One"},
      {"One#一#1#2#n#", "1", "One"},
  };
  for (const Case& c : cases) {
    FormHarness local;
    local.folder.writeBook("Book01", {"L"}, {c.text});
    local.folder.write("\\SETTING\\set.dat", kSettings);
    Form1& f = local.start();
    EXPECT_EQ(f.Label4.caption(), c.count) << c.text;
    EXPECT_EQ(f.Label1.caption(), c.english) << c.text;
  }
}

// A lesson file without a sentence (empty, or damaged) is not opened: the
// learner is told, and the lesson that was open stays, whole.
TEST_F(Lessons, ALessonWithoutSentencesIsToldAndTheOpenOneStays) {
  for (const char* empty : {"", "*", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(empty)));
    FormHarness local;
    local.folder.writeBook("Book01", {"L1", "L2"}, {numberedLesson(3), empty});
    local.folder.write("\\SETTING\\set.dat", kSettings);
    Form1& f = local.start();
    learner::click(f.Command1);
    ASSERT_TRUE(learner::clickRow(f.TreeView1, "L2"));
    ASSERT_EQ(local.messages.size(), 1u);
    EXPECT_EQ(local.messages[0].prompt,
              "第2课“L2”的课文文件中没有句子，不能打开。仍保留当前的课程。");
    EXPECT_EQ(f.Label4.caption(), "3");
    EXPECT_EQ(f.Label3.caption(), "2");
    EXPECT_EQ(f.Label7(5).caption(), "2 / 3");
    EXPECT_EQ(f.Label37.caption(), "L1");
    EXPECT_EQ(f.List1.listIndex(), 0);
    EXPECT_EQ(f.TreeView1.selectedNode(), 2);
    learner::click(f.Command4);  // 朗读 plays the sentence shown
    EXPECT_EQ(local.player->url, local.folder.full("\\Sound\\Book01\\1.mp3"));
    EXPECT_EQ(local.player->position, 4.0);
  }
}

// A lesson saved in UTF-8 by a learner's editor, with or without a byte-order
// mark, reads as the same lesson as in code page 936.
TEST_F(Lessons, ALessonSavedAsUtf8ReadsAsUtf8) {
  const std::string text = lessonText({{"Good morning.", "早上好，布朗先生。", "1", "2", "问候"}});
  Form1& f = startWith({text, text, text});
  h.folder.writeBytes("\\book\\Book01\\2.dat", text);
  h.folder.writeBytes("\\book\\Book01\\3.dat", "\xEF\xBB\xBF" + text);
  for (const char* lesson : {"Lesson 1", "Lesson 2", "Lesson 3"}) {
    SCOPED_TRACE(lesson);
    ASSERT_TRUE(learner::clickRow(f.TreeView1, lesson));
    EXPECT_EQ(f.Label37.caption(), lesson);
    EXPECT_EQ(f.Label1.caption(), "Good morning.");
    EXPECT_EQ(f.Label2.caption(), "早上好，布朗先生。");
    EXPECT_EQ(f.Label46.caption(), "问候");
    EXPECT_EQ(f.Label8(1).caption(), "早上好，布朗先生。");
  }
  EXPECT_TRUE(h.messages.empty());
}

TEST_F(Lessons, ARecordWithoutItsTimesShowsItsFieldsAndNeverPlays) {
  Form1& f = startWith({lessonText({{"First", "一", "1", "2", "n"}}) + "Short#短*Third#三#x#y#n#*"},
                       "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
  EXPECT_EQ(f.Label4.caption(), "3");
  h.player->log.clear();
  learner::click(f.Command1);
  EXPECT_EQ(f.Label1.caption(), "Short");
  EXPECT_EQ(f.Label2.caption(), "短");
  EXPECT_EQ(f.Label6(2).caption(), "Short");
  EXPECT_EQ(h.player->plays(), 0);
  learner::click(f.Command4);
  EXPECT_EQ(h.player->plays(), 0);
  learner::click(f.Command1);  // the learner moves on
  EXPECT_EQ(f.Label1.caption(), "Third");
  EXPECT_EQ(h.player->plays(), 0);
}

TEST_F(Lessons, ALessonThatCannotBeReadKeepsTheLoadedOne) {
  Form1& f = startWith({numberedLesson(3), numberedLesson(2)});
  std::filesystem::remove(h.folder.full("\\book\\Book01\\2.dat"));
  std::filesystem::create_directory(h.folder.full("\\book\\Book01\\2.dat"));
  f.TreeView1.clickNode(3);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(f.Label4.caption(), "3");
  EXPECT_EQ(f.Label6(3).caption(), "Sentence 3.");
  EXPECT_EQ(f.List1.listIndex(), 0);
  EXPECT_EQ(f.loadedlesson, 0);
}

}  // namespace

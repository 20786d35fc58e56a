// The dictation test on the real window: the letter check, the keys of the
// answer box, scoring against the pass mark, progress and the lesson pass.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "dictation/answer_check.h"
#include "platform/text/rich_text.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

const std::string kRule =
    "\r\n\r\n（评分标准：每提示1次扣20分，错误1次扣10分，复读1次扣5分，得分高于过关分数即可过关）";

struct LetterCase {
  const char* sentence;
  const char* answer;
  bool right;
  int selStart, selLength;
};

TEST(LetterCheck, WalksToTheFirstWrongLetter) {
  const LetterCase cases[] = {
      {"I'm fine, thanks.", "im FINE thanks", true, 14, 0},
      {"Call 110 now!", "call now", true, 8, 0},
      {"Call 110 now!", "call one one zero now", false, 5, 1},
      {"Hello", "hel", false, 3, 0},
      {"Hello", "helxo", false, 3, 1},
      {"Hello", "hello there", false, 6, 1},
      {"110 - 120!", "", true, 0, 0},
      {"Hello", "", false, 0, 0},
      {"", "a", false, 0, 1},
      // Letters outside a to z count in neither text.
      {"Café au lait", "caf au lait", true, 11, 0},
      {"Cafe", "café", false, 4, 0},
      {"Ｈｉ there", "there", true, 5, 0},
      {"naïve", "naive", false, 2, 1},
      // Chinese input counts one character each, as the answer box does.
      {"Hello", "你好hexlo", false, 4, 1},
      {"Hi", "好h好i好", true, 5, 0},
      {"Hi", "\xF0\x9F\x98\x80hx", false, 3, 1},  // a character beyond the basic plane
      {"Hi", "h\xF0\x9F\x98\x80\xF0\x9F\x98\x80", false, 5, 0},
  };
  for (const LetterCase& c : cases) {
    SCOPED_TRACE(std::string(c.sentence) + " / " + c.answer);
    const dictation::LetterCheck r = dictation::checkLetters(c.sentence, c.answer);
    EXPECT_EQ(r.right, c.right);
    EXPECT_EQ(r.selStart, c.selStart);
    EXPECT_EQ(r.selLength, c.selLength);
  }
}

TEST(LetterCheck, BrokenUtf8NeverReadsPastTheEnd) {
  const std::string cut = "h\xE4\xBD";  // a three-byte character cut short
  dictation::LetterCheck r = dictation::checkLetters("h", cut);
  EXPECT_TRUE(r.right);
  EXPECT_EQ(r.selStart, 2);
  r = dictation::checkLetters("hi", "h\x80i");
  EXPECT_TRUE(r.right);
  EXPECT_EQ(r.selStart, 3);
}

const char* kSentences[] = {"Hello, Tom.", "How are you?", "I'm fine, thanks."};

struct Dictation : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;

  // Book01 with "Lesson 1" (the three sentences) and "Lesson 10", on the
  // dictation page.
  void start(const std::string& passMark = "60", int page = 8) {
    std::vector<std::vector<std::string>> records;
    for (int i = 0; i < 3; ++i)
      records.push_back({kSentences[i], "中文", std::to_string(i * 2) + ".5",
                         std::to_string(i * 2 + 1) + ".5", ""});
    h.folder.writeBook("Book01", {"Lesson 1", "Lesson 10"},
                       {lessonText(records), numberedLesson(1)});
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\" + passMark + "\\");
    f = &h.start();
    if (page != 1) learner::click(f->Label14(page));
    h.messages.clear();
    h.sounds->played.clear();
    h.player->log.clear();
  }
  // On the sentence and dictation pages the learner clicks the answer box
  // and types. On the others it lies under the page and the page takes the
  // focus, so no click or key reaches it: there the box is given the text and
  // the Enter directly.
  void answer(const std::string& text) {
    if (f->studymode == 1 || f->studymode == 8) {
      learner::replaceText(f->Text2, text);
      learner::key(*f, Qt::Key_Return);
    } else {
      f->Text2.setText(text);
      f->Text2.pressKey(ui::kKeyReturn);
    }
  }
  void answerRight() { answer(f->Label1.caption()); }
  int sounds(const std::string& name) const {
    return int(std::count(h.sounds->played.begin(), h.sounds->played.end(),
                          h.folder.full("\\SETTING\\Sound\\" + name)));
  }
  std::string resultsOnDisk() const {
    return platform::rtfToText(h.folder.readBytes("\\SETTING\\Results\\Book01.dat"));
  }
  void expectScoreMessage(size_t i, const std::string& text) {
    ASSERT_GT(h.messages.size(), i);
    EXPECT_EQ(h.messages[i].prompt, text + kRule);
    EXPECT_EQ(h.messages[i].title, "本句成绩");
    EXPECT_EQ(h.messages[i].style, ui::kInformation);
  }
  void expectFreshSentence() {
    EXPECT_EQ(f->Label27.caption(), "0");
    EXPECT_EQ(f->Label28.caption(), "0");
    EXPECT_EQ(f->Label29.caption(), "0");
    EXPECT_EQ(f->Label30.caption(), "100");
    EXPECT_EQ(f->Text2.text(), "");
    EXPECT_FALSE(f->Label1.visible());
    EXPECT_TRUE(f->Label51.visible());
    EXPECT_TRUE(f->Text2.hasFocus());
  }
};

TEST_F(Dictation, EveryKeyButEnterTicksAndEnterIsNotTyped) {
  start();
  f->Text2.type("Helo");
  f->Text2.pressKey(ui::kKeyBack);
  EXPECT_EQ(sounds("type.wav"), 5);
  EXPECT_EQ(f->Text2.text(), "Hel");
  EXPECT_TRUE(f->Picture12.visible());
  f->Text2.pressKey(ui::kKeyReturn);
  EXPECT_EQ(f->Text2.text(), "Hel");
  EXPECT_EQ(sounds("type.wav"), 5);
  EXPECT_EQ(sounds("wrong.wav"), 1);
  EXPECT_EQ(f->Text2.selStart(), 3);  // caret at the end: letters are missing
  EXPECT_EQ(f->Text2.selLength(), 0);
  EXPECT_EQ(f->Label28.caption(), "1");
  EXPECT_EQ(f->Label30.caption(), "90");
}

TEST_F(Dictation, TheFirstWrongLetterIsSelectedInTheBox) {
  start();
  answer("你好 hellx, tom");
  EXPECT_EQ(f->Text2.selStart(), 7);
  EXPECT_EQ(f->Text2.selLength(), 1);
  EXPECT_EQ(sounds("wrong.wav"), 1);
  EXPECT_EQ(f->Label3.caption(), "1");
}

TEST_F(Dictation, TwoHintsAReplayAndAnErrorScore45AndTheSentenceIsRedone) {
  start();
  learner::click(f->Command23);
  EXPECT_TRUE(f->Label1.visible());
  EXPECT_FALSE(f->Label51.visible());
  learner::click(f->Command23);
  learner::click(f->Command22);
  EXPECT_EQ(h.player->plays(), 1);
  answer("hello jim");
  EXPECT_EQ(f->Label27.caption(), "2");
  EXPECT_EQ(f->Label28.caption(), "1");
  EXPECT_EQ(f->Label29.caption(), "1");
  EXPECT_EQ(f->Label30.caption(), "45");
  answerRight();
  ASSERT_EQ(h.messages.size(), 1u);
  expectScoreMessage(0, "本句得分：45分，您未能过关，请按回车键重做当前句子。");
  expectFreshSentence();
  EXPECT_EQ(h.player->plays(), 2);  // the redo plays the sentence again
  EXPECT_EQ(h.player->position, 0.5);
  EXPECT_EQ(f->Label3.caption(), "1");
  EXPECT_EQ(f->Label33.caption(), "0");
}

TEST_F(Dictation, ElevenErrorsShowMinusTenAndAreScoredAsZero) {
  start();
  for (int i = 0; i < 11; ++i) answer("x");
  EXPECT_EQ(f->Label28.caption(), "11");
  EXPECT_EQ(f->Label30.caption(), "-10");
  EXPECT_TRUE(h.messages.empty());
  answerRight();
  expectScoreMessage(0, "本句得分：0分，您未能过关，请按回车键重做当前句子。");
  EXPECT_EQ(f->Label30.caption(), "100");
}

TEST_F(Dictation, AScoreEqualToThePassMarkPassesAndTheProgressFollows) {
  start("80");
  answer("hallo");
  answer("hallo");
  answerRight();
  ASSERT_EQ(h.messages.size(), 1u);
  expectScoreMessage(0, "本句得分：80分，恭喜您已过关，请按回车键进入下一句。");
  EXPECT_EQ(f->Label3.caption(), "2");
  EXPECT_EQ(f->Label1.caption(), "How are you?");
  expectFreshSentence();
  EXPECT_EQ(h.player->position, 2.5);  // the next sentence plays
  EXPECT_EQ(f->Label33.caption(), "1");
  EXPECT_NEAR(std::stod(f->Label32.caption()), 1.0 / 3, 1e-9);
  EXPECT_EQ(f->Picture10.left(), 1500 / 3 - 1500);
  EXPECT_EQ(f->Label7(36).left(), f->Label33.left() + f->Label33.width() + 40);
  EXPECT_EQ(f->Label34.left(), f->Label7(36).left() + f->Label7(36).width() + 40);
}

// No score is above 100: a pass mark above it would fail every answer, so it
// is refused as one below 60 is, with its own message.
TEST_F(Dictation, APassMarkAboveAHundredIsRefused) {
  for (const char* high : {"999", "100.5"}) {
    SCOPED_TRACE(high);
    start();
    learner::replaceText(f->Combo5, high);
    learner::key(*f, Qt::Key_Return);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].prompt, "最高值不能高于100分！");
    EXPECT_EQ(h.messages[0].title, Form1::kAppTitle);
    EXPECT_EQ(f->Combo5.text(), "100");
    h.messages.clear();
    answerRight();
    expectScoreMessage(0, "本句得分：100分，恭喜您已过关，请按回车键进入下一句。");
  }
  start("150");  // from the settings file: refused at start-up, never saved
  EXPECT_EQ(f->Combo5.text(), "100");
  h.close();
  EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")),
            "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\100\\");
}

TEST_F(Dictation, APassMarkBelowSixtyIsReplaced) {
  start();
  for (const char* low : {"50", "", "abc"}) {
    h.messages.clear();
    f->Combo5.typeText(low);
    ASSERT_EQ(h.messages.size(), 1u) << low;
    EXPECT_EQ(h.messages[0].prompt, "最低值不能低于60分！");
    EXPECT_EQ(h.messages[0].title, Form1::kAppTitle);
    EXPECT_EQ(h.messages[0].style, ui::kOkOnly);
    EXPECT_EQ(f->Combo5.text(), "60");
    f->Combo5.typeText("70");
  }
}

// Typed digit by digit, "8" is on its way to "80": the box holds its check
// until the box is left (told beside it) or Enter ends it.
TEST_F(Dictation, APassMarkBeingTypedIsCheckedWhenItIsUsed) {
  start();
  f->Combo5.setFocus();
  f->Combo5.typeText("8");
  f->Combo5.typeText("80");
  EXPECT_TRUE(h.messages.empty());
  f->Combo5.typeText("5");
  f->Text2.setFocus();
  EXPECT_EQ(f->Label56.caption(), "最低值不能低于60分！");
  EXPECT_EQ(f->Combo5.text(), "60");
  answerRight();
  ASSERT_EQ(h.messages.size(), 1u);
  expectScoreMessage(0, "本句得分：100分，恭喜您已过关，请按回车键进入下一句。");

  f->Combo5.setFocus();
  f->Combo5.typeText("7");
  QTest::keyClick(f->Combo5.widget(), Qt::Key_Return);
  EXPECT_EQ(f->Combo5.text(), "60");
  EXPECT_EQ(h.messages.size(), 2u);
}

TEST_F(Dictation, AKeyAfterAHintHidesTheEnglishAgainButTheHintStillCosts) {
  start();
  learner::click(f->Command23);
  EXPECT_TRUE(f->Text2.hasFocus());
  f->Text2.type("h");
  EXPECT_FALSE(f->Label1.visible());
  EXPECT_TRUE(f->Label51.visible());
  EXPECT_EQ(f->Label30.caption(), "80");
  EXPECT_EQ(f->Label27.caption(), "1");
}

TEST_F(Dictation, RedoResetsTheSentenceButNotTheProgress) {
  start();
  answerRight();
  learner::click(f->Command22);
  answer("no");
  learner::replaceText(f->Text2, "half");
  h.player->log.clear();
  learner::click(f->Command25);
  expectFreshSentence();
  EXPECT_EQ(h.player->plays(), 1);
  EXPECT_EQ(f->Label33.caption(), "1");
}

TEST_F(Dictation, PassingTheLastSentenceMarksTheLessonOnceAndOpensTheSheet) {
  start();
  answerRight();
  answerRight();
  ASSERT_EQ(f->Label33.caption(), "2");  // below the total of 3
  ASSERT_FALSE(f->Command1.enabled());
  h.messages.clear();
  answerRight();
  ASSERT_EQ(h.messages.size(), 1u);
  expectScoreMessage(0, "本句得分：100分，恭喜您本课已过关，请按回车键查看本册成绩。");
  EXPECT_EQ(f->Label33.caption(), "3");
  EXPECT_EQ(f->Label32.caption(), "1");
  EXPECT_EQ(f->Picture10.left(), 0);
  // Only the lesson's own entry: "Lesson 10" begins with its title.
  EXPECT_EQ(resultsOnDisk(), "^★Lesson 1^☆Lesson 10^");
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\Results\\Book01.dat").rfind("{\\rtf1", 0), 0u);
  EXPECT_TRUE(f->Picture8.visible());
  ASSERT_EQ(f->List2.listCount(), 2);
  EXPECT_EQ(f->List2.list(0), "★Lesson 1");
  EXPECT_EQ(f->List2.list(1), "☆Lesson 10");
  EXPECT_TRUE(f->Text2.hasFocus());
  EXPECT_EQ(f->Label1.caption(), kSentences[2]);  // the last sentence stays
  EXPECT_EQ(f->Text2.text(), kSentences[2]);

  // Enter again with the same answer: nothing more.
  const std::string file = h.folder.readBytes("\\SETTING\\Results\\Book01.dat");
  learner::click(f->Command27);
  h.sounds->played.clear();
  f->Text2.pressKey(ui::kKeyReturn);
  EXPECT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(f->Label33.caption(), "3");
  EXPECT_FALSE(f->Picture8.visible());
  EXPECT_TRUE(h.sounds->played.empty());
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\Results\\Book01.dat"), file);
}

TEST_F(Dictation, PassingALessonTwiceLeavesTheResultsAsTheyWere) {
  start();
  for (int round = 0; round < 2; ++round) {
    learner::click(f->Command24);  // first sentence: a new run
    for (int i = 0; i < 3; ++i) answerRight();
    EXPECT_EQ(resultsOnDisk(), "^★Lesson 1^☆Lesson 10^") << round;
  }
  EXPECT_EQ(f->List2.listCount(), 2);
}

TEST_F(Dictation, AResultsFileThatCannotBeWrittenKeepsTheMarksInMemory) {
  start();
  const std::string before = h.folder.readBytes("\\SETTING\\Results\\Book01.dat");
  // The folder replaced by a file: no write can succeed, even as root.
  const std::string results = h.folder.full("\\SETTING\\Results");
  std::filesystem::rename(results, results + ".away");
  h.folder.writeBytes("\\SETTING\\Results", "not a folder");
  for (int i = 0; i < 3; ++i) answerRight();
  ASSERT_EQ(h.messages.size(), 4u);  // two passes, the lesson pass, the failed write
  EXPECT_NE(h.messages[3].prompt.find("Book01.dat"), std::string::npos);
  EXPECT_EQ(h.messages[3].title, Form1::kAppTitle);
  EXPECT_EQ(f->List2.list(0), "★Lesson 1");
  learner::click(f->Command27);
  learner::click(f->Command28);
  EXPECT_EQ(f->List2.list(0), "★Lesson 1");
  std::filesystem::remove(results);
  std::filesystem::rename(results + ".away", results);
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\Results\\Book01.dat"), before);
}

TEST(DictationResults, AMissingResultsFileIsToldOnceAndNeverCreated) {
  FormHarness h;
  h.folder.writeBook("Book01", {"Only"}, {lessonText({{"Yes.", "是。", "1", "2", ""}})});
  h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
  std::filesystem::remove(h.folder.full("\\SETTING\\Results\\Book01.dat"));
  Form1& f = h.start();
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("成绩文件"), std::string::npos);
  learner::click(f.Label14(8));
  learner::replaceText(f.Text2, "yes");
  learner::key(f, Qt::Key_Return);
  ASSERT_EQ(h.messages.size(), 2u);  // the lesson-pass message only
  EXPECT_NE(h.messages[1].prompt.find("本课已过关"), std::string::npos);
  EXPECT_TRUE(f.Picture8.visible());
  EXPECT_EQ(f.List2.listCount(), 0);
  EXPECT_FALSE(h.folder.exists("\\SETTING\\Results\\Book01.dat"));
}

TEST_F(Dictation, OnTheSentencePageARightAnswerMovesOnWithoutScore) {
  start("60", 1);
  answer("hello");
  EXPECT_EQ(sounds("wrong.wav"), 1);
  EXPECT_EQ(f->Label28.caption(), "0");
  EXPECT_EQ(f->Label30.caption(), "100");
  EXPECT_FALSE(f->Picture12.visible());
  answerRight();
  EXPECT_EQ(f->Label3.caption(), "2");
  answerRight();
  answerRight();
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt, "已完成！");
  EXPECT_EQ(h.messages[0].title, "提示");
  EXPECT_EQ(h.messages[0].style, ui::kOkOnly);
  EXPECT_EQ(f->Label33.caption(), "0");
  EXPECT_EQ(resultsOnDisk(), "^☆Lesson 1^☆Lesson 10^");
}

TEST_F(Dictation, OnOtherPagesOnlyAWrongAnswerIsHeard) {
  start("60", 2);
  answer("nothing");
  EXPECT_EQ(sounds("wrong.wav"), 1);
  h.sounds->played.clear();
  answerRight();
  EXPECT_TRUE(h.sounds->played.empty());
  EXPECT_TRUE(h.messages.empty());
  EXPECT_EQ(f->Label3.caption(), "1");
  EXPECT_EQ(f->Label28.caption(), "0");
}

TEST_F(Dictation, TheSentencePageHintShowsTheEnglish) {
  start("60", 1);  // the English hint switch is on
  // The hint button lies below the visible height of its strip: the learner
  // reaches it by its key.
  learner::key(*f, Qt::Key_F8);
  ASSERT_EQ(h.messages.size(), 1u);
  // The key named is the one that reaches the hint on this page (F9 does nothing here).
  EXPECT_EQ(h.messages[0].prompt, "请在“显示英文句子”处于未选中状态时使用此功能（快捷键F8）。");
  EXPECT_EQ(h.messages[0].title, Form1::kAppTitle);
  f->Label21.click();  // switch off
  ASSERT_FALSE(f->Label1.visible());
  f->Combo4.setFocus();
  learner::key(*f, Qt::Key_F8);
  EXPECT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(f->Label1.visible());
  EXPECT_FALSE(f->Label51.visible());
  EXPECT_TRUE(f->Text2.hasFocus());
  EXPECT_EQ(f->Label30.caption(), "100");
}

// A pass mark out of range left in the box is corrected when the learner
// leaves it, and never saved. The learner is told beside the box: a message
// box would take the words typed into the answer box after the click.
TEST_F(Dictation, APassMarkLeftOutOfRangeIsCorrectedAndNoKeystrokeIsLost) {
  const struct {
    const char* typed;
    const char* mark;
    const char* told;
  } cases[] = {{"5", "60", "最低值不能低于60分！"},
               {"", "60", "最低值不能低于60分！"},
               {"abc", "60", "最低值不能低于60分！"},
               {"999", "100", "最高值不能高于100分！"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    start("80");
    learner::replaceText(f->Combo5, c.typed);
    EXPECT_FALSE(f->Label56.visible());  // not while typing
    learner::click(f->Text2);            // the focus goes to the answer box
    learner::type(*f, "hello");
    EXPECT_EQ(f->Text2.text(), "hello");
    EXPECT_TRUE(h.messages.empty());  // no box took the keys
    EXPECT_EQ(f->Combo5.text(), c.mark);
    ASSERT_TRUE(f->Label56.visible());
    EXPECT_EQ(f->Label56.caption(), c.told);
    EXPECT_EQ(learner::unseenTexts(*f), std::vector<std::string>{});
    ASSERT_TRUE(f->Timer5.enabled());
    f->Timer5.fire();  // a few seconds later
    EXPECT_FALSE(f->Label56.visible());
  }
}

// The key hint of the dictation page lies over no text and no control, the
// answer box included however long the answer, and no other page shows it.
TEST_F(Dictation, TheKeyHintShowsOnTheDictationPageOnlyAndCoversNothing) {
  start();
  learner::click(f->Text2);
  learner::type(*f, kLongEnglish + " " + kLongEnglish);
  ASSERT_TRUE(f->Picture12.visible());
  EXPECT_EQ(learner::unseenTexts(*f), std::vector<std::string>{});
  QWidget* hint = f->Picture12.widget();
  const QRect place(hint->mapTo(f->widget(), QPoint(0, 0)), hint->size());
  for (QWidget* w : f->widget()->findChildren<QWidget*>()) {
    const auto* label = qobject_cast<QLabel*>(w);
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w) ||
                         (label && !label->text().isEmpty());
    if (!control || !w->isVisible() || w == hint || hint->isAncestorOf(w)) continue;
    const QRect other(w->mapTo(f->widget(), QPoint(0, 0)), w->size());
    EXPECT_FALSE(place.intersects(other))
        << w->metaObject()->className() << " at " << other.x() << "," << other.y() << " "
        << other.width() << "x" << other.height();
  }
  for (int page : {2, 3, 4, 5, 1}) {
    learner::click(f->Label14(page));
    EXPECT_FALSE(f->Picture12.visible()) << page;
  }
}

TEST_F(Dictation, APassMarkStillBeingTypedAtCloseIsSavedAsSixty) {
  start("80");
  learner::replaceText(f->Combo5, "5");
  h.close();
  EXPECT_EQ(platform::rtfToText(h.folder.readBytes("\\SETTING\\set.dat")),
            "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
}

TEST_F(Dictation, ThePassMarkListOpensFromItsButtonAndAChoiceGivesTheFocusBack) {
  start();
  learner::click(f->Command29);
  EXPECT_TRUE(f->Combo5.droppedDown());
  f->Combo4.setFocus();
  f->Combo5.choose(2);
  EXPECT_EQ(f->Combo5.text(), "80");
  EXPECT_TRUE(f->Text2.hasFocus());
}

// The real message box, not the test's responder: Enter closes it, as the
// score messages tell the learner.
TEST_F(Dictation, EnterClosesTheScoreMessage) {
  start();
  ui::setMessageBoxResponder(nullptr);
  int enters = 0;
  {
    learner::EnterOnBoxes enter;
    answerRight();
    enters = enter.enters();
  }
  EXPECT_GE(enters, 1);
  EXPECT_LE(enters, 40);
  EXPECT_EQ(f->Label3.caption(), "2");
}

}  // namespace

// What the window tells of the learner's study (the study events), the lesson
// view beside the captions, and the sentence player driven by another window,
// all through the learner's real clicks and keys.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <stdexcept>

#include "app/numeric.h"
#include "speech_fixtures.h"
#include "study/sentence_key.h"
#include "support/form_harness.h"
#include "support/learner.h"
#include "support/study_recorder.h"

namespace {

using Names = std::vector<std::string>;
const std::string kLesson1 = "第一课 Greetings 问候";

// The window a desktop would have activated on showing it: offscreen, the
// first key would only activate it.
Form1& startActive(FormHarness& h) {
  Form1& f = h.start();
  f.widget()->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(f.widget()));
  return f;
}

struct Study : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  std::unique_ptr<StudyRecorder> told;

  // The default course (Book01: lessons of three sentences and of one), one
  // play a sentence, pass mark `passMark`.
  void start(const std::string& passMark = "60") {
    h.writeDefaultCourse("0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\" + passMark + "\\");
    f = &startActive(h);
    told = std::make_unique<StudyRecorder>(f->studyEvents());
    told->clear();
  }
  study::SentenceKey key(int number) const {
    const study::Sentence* s = f->lessonView().sentence(number);
    return s ? s->key : study::SentenceKey{};
  }
  void reachEnd() {
    h.player->position = std::stod(f->playend);
    ASSERT_TRUE(f->Timer1.fire());
  }
  void answer(const std::string& text) {
    learner::replaceText(f->Text2, text);
    learner::key(*f, Qt::Key_Return);
  }
};

// A subscriber added once the window stands, before the event loop runs, is
// told the start-up's events too: the lesson opened, its first sentence.
TEST_F(Study, StartUpAndALessonOpenedAreTold) {
  h.writeDefaultCourse();
  f = &h.start();
  StudyRecorder r(f->studyEvents());
  // The start-up plays the first sentence once.
  ASSERT_EQ(r.names(), (Names{"LessonOpened", "SentenceMadeCurrent", "StretchPlayed"}));
  EXPECT_EQ(r.of<study::LessonOpened>()[0].title, kLesson1);
  EXPECT_EQ(r.of<study::SentenceMadeCurrent>()[0].key,
            study::makeSentenceKey("Book01", 1, "Hello, Tom.", 1));
  r.clear();
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第二课 One 一句"));
  ASSERT_EQ(r.names(), (Names{"LessonOpened", "SentenceMadeCurrent", "StretchPlayed"}));
  const auto opened = r.of<study::LessonOpened>()[0];
  EXPECT_EQ(opened.book, "Book01");
  EXPECT_EQ(opened.lesson, 2);
  EXPECT_EQ(opened.title, "第二课 One 一句");
  EXPECT_EQ(opened.sentences, 1);
  const auto current = r.of<study::SentenceMadeCurrent>()[0];
  EXPECT_EQ(current.key, study::makeSentenceKey("Book01", 2, "Only one.", 1));
  EXPECT_EQ(current.number, 1);
  EXPECT_EQ(current.count, 1);
  EXPECT_EQ(current.page, 1);
}

TEST_F(Study, SentenceKeysPlaysAndPagesAreToldAsTheLearnerGoes) {
  start();
  learner::key(*f, Qt::Key_PageDown);
  learner::key(*f, Qt::Key_F7);
  reachEnd();
  learner::key(*f, Qt::Key_PageUp);
  learner::key(*f, Qt::Key_F1);
  learner::click(f->Label14(2));
  EXPECT_EQ(told->names(), (Names{"SentenceMadeCurrent", "StretchPlayed", "StretchPlayed",
                                  "StretchEnded", "SentenceMadeCurrent", "StretchPlayed",
                                  "SentenceMadeCurrent", "StretchPlayed", "PageChanged"}));
  const auto current = told->of<study::SentenceMadeCurrent>();
  ASSERT_EQ(current.size(), 3u);
  EXPECT_EQ(current[0].number, 2);
  EXPECT_EQ(current[0].key, study::makeSentenceKey("Book01", 1, "How are you?", 2));
  EXPECT_EQ(current[0].key.position, 2);
  EXPECT_EQ(current[1].number, 1);
  EXPECT_EQ(current[2].number, 1);  // the first sentence again (F1)
  EXPECT_EQ(current[2].key, key(1));
  const auto played = told->of<study::StretchPlayed>();
  ASSERT_EQ(played.size(), 4u);
  EXPECT_EQ(played[0].key, key(2));
  EXPECT_EQ(played[0].start, 2.0);
  EXPECT_EQ(played[0].end, 3.0);
  EXPECT_EQ(played[0].speed, 1.0);
  EXPECT_EQ(played[0].repeat, 1);
  EXPECT_EQ(played[0].play, 1);
  EXPECT_EQ(played[0].page, 1);
  EXPECT_EQ(played[2].key, key(1));
  EXPECT_EQ(played[3].key, key(1));
  const auto ended = told->of<study::StretchEnded>();
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0].key, key(2));
  EXPECT_EQ(ended[0].plays, 1);
  const auto page = told->of<study::PageChanged>();
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(page[0].from, 1);
  EXPECT_EQ(page[0].to, 2);
}

// A full-text row plays its own sentence, whichever is current.
TEST_F(Study, AFullTextRowTellsItsOwnSentence) {
  start();
  learner::click(f->Label14(2));
  told->clear();
  learner::click(f->Label6(3));
  const auto played = told->of<study::StretchPlayed>();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].key, key(3));
  EXPECT_EQ(played[0].page, 2);
}

TEST_F(Study, DictationAnswersScoresAndTheLessonPassAreTold) {
  start();
  learner::click(f->Label14(8));
  EXPECT_EQ(told->names(), (Names{"PageChanged", "SentenceMadeCurrent", "StretchPlayed"}));
  EXPECT_EQ(told->of<study::SentenceMadeCurrent>()[0].page, 8);
  told->clear();
  learner::key(*f, Qt::Key_F8);  // a hint
  learner::key(*f, Qt::Key_F7);  // a replay
  answer("hello jim");
  answer("Hello, Tom.");
  EXPECT_EQ(told->names(), (Names{"StretchPlayed", "AnswerChecked", "AnswerChecked",
                                  "SentencePassed", "SentenceMadeCurrent", "StretchPlayed"}));
  const auto checked = told->of<study::AnswerChecked>();
  ASSERT_EQ(checked.size(), 2u);
  EXPECT_FALSE(checked[0].right);
  EXPECT_EQ(checked[0].key, key(1));
  EXPECT_EQ(checked[0].page, 8);
  EXPECT_EQ(checked[0].hints, 1);
  EXPECT_EQ(checked[0].replays, 1);
  EXPECT_EQ(checked[0].errors, 1);
  EXPECT_EQ(checked[0].score, 65);
  EXPECT_TRUE(checked[1].right);
  EXPECT_EQ(checked[1].score, 65);
  const auto passed = told->of<study::SentencePassed>();
  EXPECT_EQ(passed[0].key, key(1));
  EXPECT_EQ(passed[0].score, 65);
  EXPECT_EQ(passed[0].passMark, 60);
  told->clear();
  answer("How are you?");
  answer("I'm fine, thanks.");
  EXPECT_EQ(told->names(),
            (Names{"AnswerChecked", "SentencePassed", "SentenceMadeCurrent", "StretchPlayed",
                   "AnswerChecked", "SentencePassed", "LessonPassed"}));
  const auto lesson = told->of<study::LessonPassed>();
  EXPECT_EQ(lesson[0].book, "Book01");
  EXPECT_EQ(lesson[0].lesson, 1);
  EXPECT_EQ(lesson[0].title, kLesson1);
}

TEST_F(Study, AFailedSentenceIsToldAndRedone) {
  start("100");
  learner::click(f->Label14(8));
  told->clear();
  answer("hello jim");
  answer("Hello, Tom.");
  EXPECT_EQ(told->names(), (Names{"AnswerChecked", "AnswerChecked", "SentenceFailed",
                                  "SentenceRedone", "StretchPlayed"}));
  const auto failed = told->of<study::SentenceFailed>();
  EXPECT_EQ(failed[0].score, 90);
  EXPECT_EQ(failed[0].passMark, 100);
  told->clear();
  learner::key(*f, Qt::Key_F9);  // redo, asked for
  EXPECT_EQ(told->names(), (Names{"SentenceRedone", "StretchPlayed"}));
  EXPECT_EQ(told->of<study::SentenceRedone>()[0].key, key(1));
}

TEST_F(Study, AComparedTakeIsToldWithItsFigures) {
  start();
  const int rate = 22050;
  analysis::Sound lesson = analysis_test::silence(2.0, rate);
  const analysis::Sound hello = analysis_test::speak("Hello, Tom.", {"en", 50, 200});
  ASSERT_FALSE(hello.samples.empty()) << "espeak-ng is needed";
  for (size_t i = 0; i < hello.samples.size() && i + rate / 2 < lesson.samples.size(); ++i)
    lesson.samples[i + rate / 2] = hello.samples[i];
  h.player->lesson = {lesson.samples, lesson.rate};
  learner::click(f->Label14(5));
  const auto recordTake = [&](const analysis::Sound& take) {
    learner::click(f->Command8);
    h.wave->recorded = {take.samples, take.rate};
    learner::click(f->Command10);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (f->analysing() && std::chrono::steady_clock::now() < until) ui::processEvents(5);
    ASSERT_FALSE(f->analysing());
  };
  told->clear();
  recordTake(analysis_test::speak("Hello, Tom.", {"en+f3", 70, 150}));
  recordTake(analysis_test::silence(1.0, rate));
  const auto compared = told->of<study::TakeCompared>();
  ASSERT_EQ(compared.size(), 2u);
  EXPECT_TRUE(compared[0].compared);
  EXPECT_EQ(compared[0].key, key(1));
  EXPECT_GT(compared[0].intonation + compared[0].rhythm, 0);
  EXPECT_GT(compared[0].length, 0.3);
  EXPECT_FALSE(compared[0].departWord.empty());
  EXPECT_FALSE(compared[1].compared) << "a silent take has nothing to compare";
}

TEST_F(Study, ClosingIsToldBeforeTheWindowGoes) {
  start();
  learner::key(*f, Qt::Key_PageDown);
  h.close();
  EXPECT_EQ(told->told.back().index(), study::Event(study::ProgramClosing{}).index());
  EXPECT_EQ(told->names(), (Names{"SentenceMadeCurrent", "StretchPlayed", "ProgramClosing"}));
}

// Subscribers run after the handler has done its work: one that throws breaks
// nothing, and one that drives the player starts handlers of its own.
TEST_F(Study, SubscribersNeverRunInsideAHandler) {
  start();
  auto thrower = f->studyEvents().subscribe(
      [](const study::Event&) { throw std::runtime_error("a subscriber's fault"); });
  // What a subscriber sees of the window when told of a new sentence: its
  // number, and whether "Previous" is on (the handler turns it on after it
  // made the sentence current).
  std::vector<std::string> seen;
  auto driver = f->studyEvents().subscribe([&](const study::Event& e) {
    const auto* current = std::get_if<study::SentenceMadeCurrent>(&e);
    if (!current) return;
    seen.push_back(f->Label3.caption() +
                   (f->Command2.enabled() ? " previous on" : " previous off"));
    if (current->number == 2) f->sentencePlayer().next();
  });
  learner::key(*f, Qt::Key_PageDown);
  told->all();
  EXPECT_EQ(seen, (Names{"2 previous on", "3 previous on"}));
  EXPECT_EQ(f->Label3.caption(), "3");
  const auto current = told->of<study::SentenceMadeCurrent>();
  ASSERT_EQ(current.size(), 2u);
  EXPECT_EQ(current[0].number, 2);
  EXPECT_EQ(current[1].number, 3);
}

// The events wait for the event loop, which delivers them.
TEST_F(Study, TheEventLoopDeliversTheEvents) {
  start();
  int delivered = 0;
  auto counter = f->studyEvents().subscribe([&](const study::Event&) { ++delivered; });
  f->sentencePlayer().next();  // a call from another window, outside the loop
  EXPECT_EQ(delivered, 0);
  EXPECT_TRUE(f->studyEvents().pending());
  QCoreApplication::processEvents();
  EXPECT_EQ(delivered, 2) << "the sentence made current, its play";
  EXPECT_FALSE(f->studyEvents().pending());
}

// ---- the lesson view ----

struct LessonView : Study {
  void expectViewAgrees(const std::string& step) {
    SCOPED_TRACE(step);
    const study::LessonView& v = f->lessonView();
    EXPECT_EQ(app::str(v.currentNumber()), f->Label3.caption());
    EXPECT_EQ(app::str(v.count()), f->Label4.caption());
    EXPECT_EQ(v.lesson().title, f->Label37.caption());
    EXPECT_EQ(v.lesson().book, f->Combo1.text());
    EXPECT_EQ(v.lesson().number, f->List1.listIndex() + 1);
    EXPECT_EQ(v.page(), f->studymode);
    EXPECT_EQ(v.speed(), h.player->rateValue);
    EXPECT_EQ(v.repeat(), int(app::val(f->Combo2.text())));
    const study::Sentence* s = v.current();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->english, f->Label1.caption());
    EXPECT_EQ(s->chinese, f->Label2.caption());
    EXPECT_EQ(s->note, f->Label46.caption());
    EXPECT_EQ(s->start, f->playstart);
    EXPECT_EQ(s->end, f->playend);
  }
};

TEST_F(LessonView, AgreesWithTheCaptionsAlongAWalk) {
  start();
  expectViewAgrees("start");
  learner::key(*f, Qt::Key_PageDown);
  expectViewAgrees("next");
  learner::key(*f, Qt::Key_PageDown);
  learner::key(*f, Qt::Key_PageDown);  // past the last: nothing changes
  expectViewAgrees("last");
  learner::key(*f, Qt::Key_PageUp);
  expectViewAgrees("previous");
  learner::key(*f, Qt::Key_F1);
  expectViewAgrees("first");
  learner::pickFromList(f->Combo2, 3);
  // The speed selector lies outside the window: reached by its own call.
  f->Label20(2).click();
  expectViewAgrees("three plays, fast");
  learner::click(f->Label14(8));
  expectViewAgrees("dictation");
  answer("Hello, Tom.");
  expectViewAgrees("dictation, second sentence");
  learner::click(f->Label14(5));
  learner::click(f->Command14);
  expectViewAgrees("read-along, next");
  learner::click(f->Label14(1));
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第二课 One 一句"));
  expectViewAgrees("the second lesson");
}

// ---- the player driven from outside the window ----

// The same steps by the learner's hand and by the player interface leave the
// same player calls, window state and events.
TEST(SentencePlayer, RunsTheHandlersOfTheLearnersClicks) {
  struct Run {
    FormHarness h;
    Form1* f = nullptr;
    std::unique_ptr<StudyRecorder> told;
    Run() {
      h.writeDefaultCourse();
      f = &startActive(h);
      told = std::make_unique<StudyRecorder>(f->studyEvents());
      told->clear();
      h.player->log.clear();
    }
    void reachEnd() {
      h.player->position = std::stod(f->playend);
      f->Timer1.fire();
      f->Timer2.fire();
    }
  };
  Run byHand, byCall;
  {
    Form1& f = *byHand.f;
    learner::pickFromList(f.Combo2, 2);
    f.Label20(0).click();  // outside the window: reached by its own call
    learner::click(f.Command4);
    byHand.reachEnd();
    byHand.reachEnd();
    learner::click(f.Command1);
    learner::click(f.Command1);
    learner::click(f.Command2);
  }
  {
    study::SentencePlayer& p = byCall.f->sentencePlayer();
    EXPECT_TRUE(p.setRepeat(2));
    EXPECT_TRUE(p.setSpeed(0.5));
    p.play();
    EXPECT_TRUE(p.playing());
    byCall.reachEnd();
    EXPECT_TRUE(p.playing()) << "the second play";
    byCall.reachEnd();
    EXPECT_FALSE(p.playing());
    EXPECT_TRUE(p.next());
    EXPECT_TRUE(p.next());
    EXPECT_FALSE(p.next()) << "no sentence after the last";
    EXPECT_TRUE(p.previous());
    EXPECT_FALSE(p.setRepeat(11));
    EXPECT_FALSE(p.setSpeed(1.5));
    EXPECT_EQ(&p.view(), &byCall.f->lessonView());
  }
  EXPECT_EQ(byCall.h.player->log, byHand.h.player->log);
  EXPECT_EQ(byCall.h.player->rateValue, 0.5);
  EXPECT_EQ(byCall.h.player->rateValue, byHand.h.player->rateValue);
  EXPECT_EQ(byCall.f->Label3.caption(), byHand.f->Label3.caption());
  EXPECT_EQ(byCall.f->Combo2.text(), "2");
  EXPECT_EQ(byCall.f->repeatstudy, byHand.f->repeatstudy);
  EXPECT_TRUE(byCall.f->Option1.value());
  EXPECT_EQ(byCall.told->names(), byHand.told->names());
  EXPECT_EQ(byCall.told->of<study::StretchPlayed>().size(), 5u);
}

}  // namespace

// A review brings back a sentence of any lesson of any book: its lesson is
// opened as the lesson list and the book holder open one, and a book or
// lesson that is not there leaves the loaded one as it was.
TEST(SentencePlayer, ShowsASentenceOfAnyLessonOfAnyBook) {
  FormHarness h;
  h.writeDefaultCourse();
  h.folder.writeBook("Book02", {"第一课 Two 两句"},
                     {lessonText({{"First of two.", "两句之一。", "1", "2", ""},
                                  {"Second of two.", "两句之二。", "3", "4", ""}})});
  Form1& f = startActive(h);
  study::SentencePlayer& p = f.sentencePlayer();
  const struct {
    std::string book;
    int lesson;
    std::string english;
    bool shown;
    std::string bookAfter;
    int lessonAfter, numberAfter;
  } cases[] = {
      {"Book01", 1, "I'm fine, thanks.", true, "Book01", 1, 3},
      {"Book01", 2, "Only one.", true, "Book01", 2, 1},
      {"Book02", 1, "Second of two.", true, "Book02", 1, 2},
      {"Book09", 1, "Hello, Tom.", false, "Book02", 1, 2},
      {"Book01", 7, "Hello, Tom.", false, "Book02", 1, 2},
      {"Book01", 1, "How are you?", true, "Book01", 1, 2},
      {"Book01", 1, "Not in the lesson.", false, "Book01", 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.book + "/" + std::to_string(c.lesson) + " " + c.english);
    EXPECT_EQ(p.show(study::makeSentenceKey(c.book, c.lesson, c.english, 1)), c.shown);
    EXPECT_EQ(f.lessonView().lesson().book, c.bookAfter);
    EXPECT_EQ(f.lessonView().lesson().number, c.lessonAfter);
    EXPECT_EQ(f.lessonView().currentNumber(), c.numberAfter);
    EXPECT_EQ(f.Combo1.text(), c.bookAfter);  // the book holder names the loaded book
  }
}

// The study log and the review queue in the window, through the learner's
// clicks and keys: a dictation that costs an error or a hint queues its
// sentence, the sentence page's mark (a click, or F6) queues and unqueues
// the current one and says which it does, and a damaged study database is
// moved aside with a word while the rest of the learner's files stay; the
// review page says how many are due or that none are, and plays, takes and
// reschedules each due sentence, of whatever lesson.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <map>

#include "messages/messages.h"
#include "review/review_page.h"
#include "storage/study_database.h"
#include "studymodel/study_log.h"
#include "support/form_harness.h"
#include "support/full_disk.h"
#include "support/learner.h"
#include "support/study_recorder.h"

namespace {

const std::string kMark(messages::kMarkForReview), kUnmark(messages::kUnmarkForReview);

struct Review : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;

  void start() {
    f = &h.start();
    f->widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f->widget()));
    f->studyEvents().deliverPending();
  }
  study::SentenceKey key(int number) const {
    const study::Sentence* s = f->lessonView().sentence(number);
    return s ? s->key : study::SentenceKey{};
  }
  void answer(const std::string& text) {
    learner::replaceText(f->Text2, text);
    learner::key(*f, Qt::Key_Return);
    f->studyEvents().deliverPending();  // the log hears what the handler told
  }
  // The mark as the learner sees it: its caption, shown whole.
  std::string markSeen() {
    f->studyEvents().deliverPending();
    for (const std::string& unseen : learner::unseenTexts(*f))
      EXPECT_EQ(unseen.find(f->ReviewMark.caption()), std::string::npos) << unseen;
    const bool shown = f->ReviewMark.widget()->isVisible() && f->ReviewMark.enabled();
    return shown ? f->ReviewMark.caption() : "";
  }
  std::int64_t rows(const std::string& sql) {
    EXPECT_TRUE(f->studyLog()->flush());
    storage::StudyDatabase db = storage::StudyDatabase::open(h.folder.full("\\SETTING\\study.db"));
    storage::Statement s = db.prepare(sql);
    return s.step() ? s.integer(0) : -1;
  }
};

TEST_F(Review, DictationErrorsAndHintsQueueTheSentenceAndAClearOneStaysOut) {
  h.writeDefaultCourse();
  start();
  ASSERT_TRUE(f->studyLog());
  EXPECT_EQ(markSeen(), kMark);
  learner::click(f->Label14(8));
  answer("hello jim");  // an error
  answer("Hello, Tom.");
  learner::key(*f, Qt::Key_F8);  // a hint
  answer("How are you?");
  answer("I'm fine, thanks.");  // right at once
  EXPECT_TRUE(f->studyLog()->queued(key(1)));
  EXPECT_TRUE(f->studyLog()->queued(key(2)));
  EXPECT_FALSE(f->studyLog()->queued(key(3)));
  EXPECT_EQ(rows("SELECT count(*) FROM dictation_outcome"), 3);
  EXPECT_EQ(rows("SELECT errors FROM dictation_outcome WHERE sentence = '" + key(1).text() + "'"),
            1);

  // The next run: the first sentence on its page says it is queued.
  h.close();
  start();
  learner::click(f->Label14(1));
  learner::key(*f, Qt::Key_F1);
  EXPECT_EQ(markSeen(), kUnmark);
  learner::key(*f, Qt::Key_PageDown);
  learner::key(*f, Qt::Key_PageDown);
  EXPECT_EQ(markSeen(), kMark);  // the third was typed right
}

TEST_F(Review, TheMarkQueuesTheSentenceByClickAndByKey) {
  h.writeDefaultCourse();
  start();
  learner::click(f->ReviewMark);
  EXPECT_TRUE(f->studyLog()->queued(key(1)));
  EXPECT_EQ(markSeen(), kUnmark);
  EXPECT_EQ(f->studyLog()->dueCount(), 1);  // marked: due today
  learner::key(*f, Qt::Key_F6);
  EXPECT_FALSE(f->studyLog()->queued(key(1)));
  EXPECT_EQ(markSeen(), kMark);
  learner::key(*f, Qt::Key_PageDown);
  learner::key(*f, Qt::Key_F6);
  EXPECT_TRUE(f->studyLog()->queued(key(2)));
  EXPECT_EQ(markSeen(), kUnmark);
  EXPECT_EQ(rows("SELECT count(*) FROM review_card WHERE reason = 'marked'"), 1);
  // Not on the dictation page: the mark goes with its page, and so does its key.
  learner::click(f->Label14(8));
  EXPECT_EQ(markSeen(), "");
  learner::key(*f, Qt::Key_F6);
  EXPECT_TRUE(f->studyLog()->queued(key(2)));
}

// The disk fills during a dictation: the learner is told once, the dictation
// goes on, and the answers are in the log once there is room again.
TEST_F(Review, AFullDiskIsToldOnceAndTheDictationGoesOn) {
  FullDisk::install(true);  // the window's log opens on it
  h.writeDefaultCourse();
  start();
  learner::click(f->Label14(8));
  FullDisk::full = true;
  answer("hello jim");
  answer("Hello, Tom.");
  EXPECT_FALSE(f->studyLog()->flush());
  answer("How are you?");
  EXPECT_FALSE(f->studyLog()->flush());
  QCoreApplication::processEvents();  // the word comes from the log's worker
  FullDisk::full = false;
  // Once, beside the dictation's own words (each sentence's score).
  int told = 0;
  for (const ui::MessageBoxCall& m : h.messages)
    told += m.prompt == std::string(messages::kStudyLogDiskFull);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(f->lessonView().currentNumber(), 3);
  answer("I'm fine, thanks.");
  EXPECT_EQ(rows("SELECT count(*) FROM dictation_outcome"), 3);
  EXPECT_TRUE(f->studyLog()->queued(key(1)));
}

TEST_F(Review, ADamagedStudyDatabaseIsMovedAsideWithAWordAndAFreshOneBegun) {
  h.writeDefaultCourse();
  const std::string garbage(4096, '\x33');
  h.folder.writeBytes("\\SETTING\\study.db", garbage);
  const std::string settings = h.folder.readBytes("\\SETTING\\set.dat");
  start();
  QCoreApplication::processEvents();  // the word waits for the window to run
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].prompt.find("学习记录文件已损坏"), std::string::npos);
  EXPECT_NE(h.messages[0].prompt.find("study.db.damaged-"), std::string::npos);
  ASSERT_TRUE(f->studyLog());
  learner::key(*f, Qt::Key_F6);
  EXPECT_TRUE(f->studyLog()->queued(key(1)));
  EXPECT_EQ(rows("SELECT count(*) FROM review_card"), 1);
  EXPECT_EQ(h.folder.readBytes("\\SETTING\\set.dat"), settings);
  int kept = 0;
  for (const auto& entry : std::filesystem::directory_iterator(h.folder.full("\\SETTING")))
    if (entry.path().filename().string().starts_with("study.db.damaged-")) {
      ++kept;
      EXPECT_EQ(h.folder.readBytes("\\SETTING\\" + entry.path().filename().string()), garbage);
    }
  EXPECT_EQ(kept, 1);
}

// ---- the review page (复习) ----

struct ReviewPage : Review {
  // A text of the page that the learner reads whole: shown, fitting its
  // place, covered by nothing.
  bool seen(const std::string& text) {
    f->studyEvents().deliverPending();
    for (const std::string& unseen : learner::unseenTexts(*f))
      if (unseen.find(text) != std::string::npos) return false;
    for (const QLabel* l : f->reviewPage().findChildren<QLabel*>())
      if (l->isVisible() && l->text().toStdString().find(text) != std::string::npos) return true;
    return false;
  }
  QPushButton* button(std::string_view caption) {
    for (QPushButton* b : f->reviewPage().findChildren<QPushButton*>())
      if (b->isVisible() && b->text().toStdString() == caption) return b;
    return nullptr;
  }
  void click(QWidget* w) {
    ASSERT_TRUE(w);
    learner::click(*f, w->mapTo(f->widget(), w->rect().center()));
  }
  // What the learner types into the page's answer box, then Enter.
  void typeAnswer(const std::string& text) {
    learner::key(*f, Qt::Key_A, Qt::ControlModifier);
    learner::type(*f, text);
    learner::key(*f, Qt::Key_Return);
  }
  // The next day comes: what the dictation graded "again" is due (the log
  // reads its queue when it opens).
  void nextDay() {
    ASSERT_TRUE(f->studyLog()->flush());
    h.close();
    storage::StudyDatabase db = storage::StudyDatabase::open(h.folder.full("\\SETTING\\study.db"));
    db.execute("UPDATE review_card SET due_day = due_day - 1, last_day = last_day - 1");
  }
};

TEST_F(ReviewPage, AnEmptyQueueSaysSoInASentence) {
  h.writeDefaultCourse();
  start();
  learner::click(f->Label14(9));
  EXPECT_TRUE(seen(std::string(messages::kReviewEmpty)));
  EXPECT_FALSE(button(messages::kReviewStart));
  EXPECT_EQ(f->lessonView().page(), 9);
}

// Sentences dictated with an error come back the next day on the review
// page: each is played, typed, checked by Enter and rescheduled past today,
// the one of the lesson not loaded with its lesson opened first.
TEST_F(ReviewPage, DueSentencesOfEveryLessonArePlayedTypedAndRescheduled) {
  h.writeDefaultCourse();
  start();
  learner::click(f->Label14(8));
  answer("hello jim");  // an error
  answer("Hello, Tom.");
  answer("How are you?");
  answer("I'm fine, thanks.");
  const study::SentenceKey first = key(1);
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第二课 One 一句"));
  learner::click(f->Label14(8));
  answer("only two");  // an error
  answer("Only one.");
  const study::SentenceKey other = key(1);
  ASSERT_TRUE(learner::clickRow(f->TreeView1, "第一课 Greetings 问候"));
  EXPECT_EQ(f->studyLog()->dueCount(), 0);  // graded "again": due tomorrow
  nextDay();
  start();
  ASSERT_EQ(f->lessonView().lesson().number, 1);
  const std::string agains = "SELECT count(*) FROM review_log WHERE by_learner = 0 AND grade = 1";
  const std::int64_t againsBefore = rows(agains);

  StudyRecorder told(f->studyEvents());
  learner::click(f->Label14(9));
  EXPECT_TRUE(seen(messages::reviewDue(2)));
  click(button(messages::kReviewStart));
  // Both were due from the same day: the queue's order decides which comes first.
  std::vector<study::SentenceKey> reviewed;
  for (int i = 0; i < 2; ++i) {
    const study::Sentence* s = f->lessonView().current();
    ASSERT_TRUE(s);
    reviewed.push_back(s->key);
    const std::vector<study::StretchPlayed> played = told.of<study::StretchPlayed>();
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.back().key, s->key);
    EXPECT_TRUE(
        seen(messages::reviewPlace("Book01", f->lessonView().lesson().title, s->key.position)));
    typeAnswer("Wrong words");
    EXPECT_TRUE(seen(messages::reviewCosts(1, 0, 0, 90)));
    EXPECT_TRUE(f->studyLog()->queued(s->key));
    typeAnswer(s->english);
  }
  EXPECT_TRUE((reviewed == std::vector{first, other}) || (reviewed == std::vector{other, first}));
  EXPECT_TRUE(seen(messages::reviewDone(2, 0)));
  EXPECT_TRUE(seen(std::string(messages::kReviewEmpty)));
  EXPECT_EQ(f->studyLog()->dueCount(), 0);
  EXPECT_TRUE(f->studyLog()->queued(first));
  EXPECT_TRUE(f->studyLog()->queued(other));
  EXPECT_EQ(rows("SELECT count(*) FROM review_card WHERE due_day <= " +
                 std::to_string(f->studyLog()->today())),
            0);
  EXPECT_EQ(rows(agains), againsBefore + 2);  // each cost an error
}

// The grade of each review comes from what the answer cost, as the
// dictation counts it: a replay (F7) makes it hard, a hint (F8) again,
// nothing good.
TEST_F(ReviewPage, EachReviewIsGradedByWhatItsAnswerCost) {
  h.writeDefaultCourse();
  start();
  for (int i = 0; i < 3; ++i) {  // three marked sentences: due at once
    learner::key(*f, Qt::Key_F6);
    learner::key(*f, Qt::Key_PageDown);
  }
  learner::click(f->Label14(9));
  EXPECT_TRUE(seen(messages::reviewDue(3)));
  click(button(messages::kReviewStart));
  std::map<std::string, std::int64_t> graded;  // key text -> grade expected
  for (int i = 0; i < 3; ++i) {
    const study::Sentence* s = f->lessonView().current();
    ASSERT_TRUE(s);
    const struct {
      Qt::Key key;
      std::string costs;
      studymodel::Grade grade;
    } cases[] = {{Qt::Key_F7, messages::reviewCosts(0, 0, 1, 95), studymodel::Grade::Hard},
                 {Qt::Key_F8, messages::reviewCosts(0, 1, 0, 80), studymodel::Grade::Again},
                 {Qt::Key_unknown, messages::reviewCosts(0, 0, 0, 100), studymodel::Grade::Good}};
    const auto& c = cases[i];
    if (c.key != Qt::Key_unknown) learner::key(*f, c.key);
    EXPECT_TRUE(seen(c.costs)) << i;
    graded[s->key.text()] = std::int64_t(c.grade);
    typeAnswer(s->english);
  }
  EXPECT_TRUE(seen(messages::reviewDone(3, 0)));
  EXPECT_EQ(f->studyLog()->dueCount(), 0);
  for (const auto& [key, grade] : graded)
    EXPECT_EQ(rows("SELECT grade FROM review_log WHERE sentence = '" + key + "'"), grade) << key;
}

}  // namespace

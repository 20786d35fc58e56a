// The study log and the review queue on a temporary database: what the study
// events tell becomes rows with their sentence keys, a dictation that cost an
// error or a hint queues its sentence, the learner's mark queues and unqueues
// it; the log survives its writer killed (kill -9) mid-write, goes on past a
// full disk (a fault injected at SQLite's VFS), moves a damaged file aside and
// migrates a file of an older schema.
#include "studymodel/study_log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/full_disk.h"

namespace {

namespace fs = std::filesystem;
using studymodel::Clock;
using studymodel::StudyLog;

struct Log : ::testing::Test {
  fs::path folder;
  std::string file;
  Clock::time_point now = Clock::now();
  std::vector<std::pair<studymodel::Trouble, std::string>> troubles;

  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("parlenda-log-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    file = (folder / "study.db").string();
  }
  void TearDown() override { fs::remove_all(folder); }

  StudyLog::Options options(const char* vfs = nullptr) {
    StudyLog::Options o;
    o.vfs = vfs;
    o.now = [this] { return now; };
    o.onTrouble = [this](studymodel::Trouble t, std::string what) {
      troubles.emplace_back(t, std::move(what));
    };
    return o;
  }
  std::unique_ptr<StudyLog> openLog(const char* vfs = nullptr) {
    StudyLog::Opened opened = StudyLog::open(file, options(vfs));
    EXPECT_TRUE(opened.log) << opened.refused;
    return std::move(opened.log);
  }
  // A number read by a connection of its own, as another program would.
  std::int64_t number(const std::string& sql) {
    storage::StudyDatabase db = storage::StudyDatabase::open(file);
    storage::Statement s = db.prepare(sql);
    return s.step() ? s.integer(0) : -1;
  }
  std::string bytesOf(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

study::SentenceKey key(int lesson, const std::string& english, int position = 1) {
  return study::makeSentenceKey("Book01", lesson, english, position);
}

// The dictation of one sentence as the window tells it: shown, answered
// (with its costs so far), judged.
void dictate(StudyLog& log, Clock::time_point& now, const study::SentenceKey& k, int errors,
             int hints, int replays) {
  log.hear(study::SentenceMadeCurrent{k, k.position, 10, 8});
  now += std::chrono::seconds(20);
  log.hear(study::AnswerChecked{k, 8, true, errors, hints, replays, 100 - 10 * errors});
  log.hear(study::SentencePassed{k, 100 - 10 * errors, 60});
}

TEST_F(Log, EventsBecomeRowsWithTheirSentenceKeys) {
  auto log = openLog();
  const auto hello = key(3, "Hello, Tom.", 2);
  log->hear(study::LessonOpened{"Book01", 3, "第三课", 5});
  log->hear(study::StretchPlayed{hello, 0.5, 1.5, 0.5, 2, 1, 1});
  now += std::chrono::seconds(3);
  log->hear(study::TakeCompared{hello, true, 82, 75, 1.1, "Tom"});
  now += std::chrono::seconds(40);
  dictate(*log, now, hello, 2, 1, 3);
  now += std::chrono::minutes(10);  // away from the desk: not study
  log->hear(study::PageChanged{8, 1});
  ASSERT_TRUE(log->flush());

  EXPECT_EQ(number("SELECT count(*) FROM sentence_played WHERE sentence = '" + hello.text() +
                   "' AND speed = 0.5 AND page = 1"),
            1);
  EXPECT_EQ(number("SELECT intonation * 1000 + rhythm FROM take_figures"), 82075);
  EXPECT_EQ(number("SELECT errors * 100 + hints * 10 + replays FROM dictation_outcome"), 213);
  EXPECT_EQ(number("SELECT seconds FROM dictation_outcome"), 20);
  EXPECT_EQ(number("SELECT position FROM sentence WHERE key = '" + hello.text() + "'"), 2);
  EXPECT_EQ(number("SELECT count(*) FROM study_log WHERE kind = 'LessonOpened' AND"
                   " detail = 'Book01/3'"),
            1);
  // 3 s, then 40 s, then 20 s of study; the ten minutes away are not counted.
  EXPECT_EQ(number("SELECT round(seconds) FROM study_day"), 63);
}

TEST_F(Log, AnErrorOrAHintQueuesTheSentenceForTomorrowAndAClearAnswerDoesNot) {
  auto log = openLog();
  const auto clear = key(1, "Good morning."), wrong = key(1, "How are you?"),
             hinted = key(2, "Fine, thanks.");
  dictate(*log, now, clear, 0, 0, 2);
  dictate(*log, now, wrong, 1, 0, 0);
  dictate(*log, now, hinted, 0, 1, 0);
  EXPECT_FALSE(log->queued(clear));
  EXPECT_TRUE(log->queued(wrong));
  EXPECT_TRUE(log->queued(hinted));
  EXPECT_EQ(log->dueCount(), 0);  // not today
  now += std::chrono::hours(24);
  EXPECT_EQ(log->dueCount(), 2);
  const auto due = log->due();
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0].book, "Book01");
  ASSERT_TRUE(log->flush());  // committed, for another connection to see
  EXPECT_EQ(number("SELECT count(*) FROM review_card WHERE reason = 'error' AND sentence = '" +
                   wrong.text() + "'"),
            1);

  // Typed right when due, it is spaced out (graded by the outcome); a
  // learner's "again" brings the other back tomorrow.
  dictate(*log, now, wrong, 0, 0, 0);
  log->review(hinted.text(), studymodel::Grade::Again, true);
  EXPECT_EQ(log->dueCount(), 0);
  ASSERT_TRUE(log->flush());
  EXPECT_EQ(
      number("SELECT due_day - last_day FROM review_card WHERE sentence = '" + wrong.text() + "'"),
      3);
  EXPECT_EQ(number("SELECT count(*) FROM review_log WHERE by_learner = 1 AND grade = 1"), 1);
  EXPECT_EQ(number("SELECT count(*) FROM review_log WHERE by_learner = 0 AND grade = 3"), 1);
}

TEST_F(Log, TheMarkQueuesASentenceDueTodayAndTakesItOutAgain) {
  study::Sentence s;
  s.key = key(4, "Where is it?");
  s.english = "Where is it?";
  {
    auto log = openLog();
    EXPECT_TRUE(log->toggleMark(s));
    EXPECT_EQ(log->dueCount(), 1);
  }
  // Kept across runs, with the sentence's text for the review page.
  auto log = openLog();
  EXPECT_TRUE(log->queued(s.key));
  ASSERT_EQ(log->due().size(), 1u);
  EXPECT_EQ(log->due()[0].english, "Where is it?");
  EXPECT_FALSE(log->toggleMark(s));
  EXPECT_EQ(log->queueSize(), 0);
  ASSERT_TRUE(log->flush());
  EXPECT_EQ(number("SELECT count(*) FROM review_card"), 0);
}

// A child writes the log and says after each kept commit how many rows it
// holds; killed mid-write, the file keeps at least those rows and is sound.
TEST_F(Log, NothingCommittedIsLostWhenTheWriterIsKilled) {
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeEnds[0]);
    auto log = openLog();
    const auto k = key(1, "Hello, Tom.");
    for (std::int64_t rows = 1;; ++rows) {
      log->hear(study::StretchPlayed{k, 0, 1, 1.0, 1, 1, 1});
      if (rows % 10 == 0 && log->flush() && ::write(pipeEnds[1], &rows, sizeof rows) != sizeof rows)
        ::_exit(1);
    }
  }
  ::close(pipeEnds[1]);
  std::int64_t committed = 0;
  while (committed < 500)
    ASSERT_EQ(::read(pipeEnds[0], &committed, sizeof committed), ssize_t(sizeof committed));
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(pipeEnds[0]);
  ASSERT_TRUE(WIFSIGNALED(status));

  EXPECT_GE(number("SELECT count(*) FROM sentence_played"), committed);
  storage::StudyDatabase db = storage::StudyDatabase::open(file);
  storage::Statement check = db.prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check.step());
  EXPECT_EQ(check.text(0), "ok");
}

// The disk fills: the learner is told once, the window goes on, and what
// waited is written once there is room again.
TEST_F(Log, AFullDiskIsToldAndWhatWaitsIsWrittenWhenThereIsRoom) {
  auto log = openLog(FullDisk::install());
  const auto k = key(1, "Hello, Tom.");
  FullDisk::full = true;
  for (int k2 = 0; k2 < 3; ++k2) {
    log->hear(study::StretchPlayed{k, 0, 1, 1.0, 1, 1, 1});
    EXPECT_FALSE(log->flush());
  }
  FullDisk::full = false;
  ASSERT_EQ(troubles.size(), 1u);
  EXPECT_EQ(troubles[0].first, studymodel::Trouble::DiskFull);
  log->hear(study::StretchPlayed{k, 0, 1, 2.0, 1, 1, 1});
  EXPECT_TRUE(log->flush());
  EXPECT_EQ(number("SELECT count(*) FROM sentence_played"), 4);
}

// Two kinds of damage: a file that is no database, and a database whose
// pages past the first (the queue's among them) were overwritten.
TEST_F(Log, ADamagedFileIsMovedAsideAndAFreshOneBegun) {
  const auto noDatabase = [](Log&) { return std::string(8192, '\x5a'); };
  const auto damagedPages = [](Log& t) {
    {
      auto log = t.openLog();
      study::Sentence s;
      for (int n = 0; n < 200; ++n) {
        s.key = key(1, "Sentence " + std::to_string(n));
        log->toggleMark(s);
      }
    }
    std::string bytes = t.bytesOf(t.file);
    EXPECT_GT(bytes.size(), 8192u);
    std::fill(bytes.begin() + 4096, bytes.end(), '\x5a');
    return bytes;
  };
  using Damage = std::function<std::string(Log&)>;
  for (const Damage& damage : {Damage(noDatabase), Damage(damagedPages)}) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string damaged = damage(*this);
    std::ofstream(file, std::ios::binary) << damaged;
    StudyLog::Opened opened = StudyLog::open(file, options());
    ASSERT_TRUE(opened.log) << opened.refused;
    ASSERT_FALSE(opened.movedAside.empty());
    EXPECT_EQ(bytesOf(opened.movedAside), damaged);  // kept as it was, for a look
    EXPECT_NE(opened.movedAside.find(".damaged-"), std::string::npos);
    EXPECT_EQ(opened.log->queueSize(), 0);
    opened.log->hear(study::StretchPlayed{key(1, "Hello."), 0, 1, 1.0, 1, 1, 1});
    ASSERT_TRUE(opened.log->flush());
    EXPECT_EQ(number("SELECT count(*) FROM sentence_played"), 1);
  }
}

// A file of the first two steps of the schema (the program before the log's
// tables) keeps its rows and gets the rest.
TEST_F(Log, AFileOfAnOlderSchemaIsMigrated) {
  {
    const std::vector<storage::Migration> older(storage::studySchema().begin(),
                                                storage::studySchema().begin() + 2);
    storage::StudyDatabase db = storage::StudyDatabase::open(file, older);
    db.execute(
        "INSERT INTO sentence VALUES ('Book01/1/ab', 'Book01', 1, 1, 'Hi.');"
        "INSERT INTO study_log (kind, sentence) VALUES ('LessonOpened', 'Book01/1/ab')");
    ASSERT_EQ(db.schemaVersion(), 2);
  }
  auto log = openLog();
  ASSERT_TRUE(log->flush());
  EXPECT_EQ(number("PRAGMA user_version"), storage::studySchema().back().version);
  EXPECT_EQ(number("SELECT count(*) FROM study_log"), 1);
  EXPECT_EQ(number("SELECT count(*) FROM review_card"), 0);
}

TEST_F(Log, AFileOfANewerProgramIsRefusedAndLeftAlone) {
  {
    storage::StudyDatabase db = storage::StudyDatabase::open(file);
    db.execute("PRAGMA user_version = 99");
  }
  const std::string before = bytesOf(file);
  StudyLog::Opened opened = StudyLog::open(file, options());
  EXPECT_FALSE(opened.log);
  EXPECT_TRUE(opened.movedAside.empty());
  EXPECT_NE(opened.refused.find("newer"), std::string::npos);
  EXPECT_EQ(bytesOf(file), before);
}

}  // namespace

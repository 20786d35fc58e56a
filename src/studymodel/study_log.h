#pragma once
// The study log and the review queue (错句本) over the study database: what
// the study events tell is written by the log's own worker (LogWriter), so a
// handler never waits on the disk.
//
// Logged, each row with its sentence key: each dictation sentence's outcome
// (errors, hints, replays, the final score, the seconds from its first sight
// to its judgement), each take's figures, each stretch played and at which
// speed, and the seconds studied on each calendar day (the time between two
// events, where it is under five minutes); lessons opened and passed and
// pages changed go to the general log (study_log).
//
// A sentence enters the review queue when its dictation cost an error or a
// hint (graded "again" there, so it comes back the next day) or when the
// learner marks it (due at once); FSRS schedules each review after that.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "study/lesson_view.h"
#include "study/study_events.h"
#include "studymodel/fsrs.h"
#include "studymodel/log_writer.h"

namespace studymodel {

using Clock = std::chrono::system_clock;

// The learner's calendar day of a moment (local time), as a day number from
// 1970-01-01, and as text ("2026-12-11").
std::int64_t dayNumber(Clock::time_point at);
std::string dayText(Clock::time_point at);

struct DueSentence {
  std::string key;  // SentenceKey::text()
  std::string book;
  int lesson = 0, position = 0;
  std::string english;
  Card card;
};

class StudyLog {
 public:
  struct Options {
    const char* vfs = nullptr;  // the default VFS; tests inject faults
    std::function<Clock::time_point()> now = [] { return Clock::now(); };
    // From the worker thread: the disk is full, or a write failed.
    std::function<void(Trouble, std::string)> onTrouble;
    // The lesson's sentence of a key, for the text kept beside its rows.
    std::function<const study::Sentence*(const study::SentenceKey&)> sentenceOf;
  };
  struct Opened {
    std::unique_ptr<StudyLog> log;  // null when the file was refused
    std::string movedAside;         // where a damaged file was moved; empty when none
    std::string refused;            // why no log is kept (a newer program's file ...)
  };
  // Opens or makes the database at `path`. A damaged file (or one that is no
  // database) is moved aside, with its journal, and a fresh one begun.
  static Opened open(const std::string& path, Options options);

  // The subscriber to the study events.
  void hear(const study::Event& event);
  // Waits until every record so far was tried; true when all were kept.
  bool flush() { return writer_->flush(); }

  // ---- the review queue ----
  bool queued(const study::SentenceKey& key) const;
  // The learner's mark: a sentence not queued enters, due today; a queued
  // one leaves. Returns whether it is queued now.
  bool toggleMark(const study::Sentence& sentence);
  int dueCount() const;  // due today or before
  int queueSize() const;
  // The due sentences, the most overdue first, with their lessons and books.
  std::vector<DueSentence> due();
  // A review of a queued sentence on today's date; the learner's own grade
  // wins over the outcome's.
  void review(const std::string& key, Grade grade, bool byLearner);
  std::int64_t today() const { return dayNumber(options_.now()); }

 private:
  StudyLog(storage::StudyDatabase db, Options options);
  struct Tally {
    int errors = 0, hints = 0, replays = 0;
    std::optional<Clock::time_point> since;
  };
  void countStudyTime(Clock::time_point now);
  void rememberSentence(const study::SentenceKey& key, std::string english = {});
  static constexpr study::Page kDictationPage = 8;
  // What each event adds to the log; the others add only study time.
  void on(const study::LessonOpened& e, Clock::time_point now);
  void on(const study::LessonPassed& e, Clock::time_point now);
  void on(const study::PageChanged& e, Clock::time_point now);
  void on(const study::SentenceMadeCurrent& e, Clock::time_point now);
  void on(const study::SentenceRedone& e, Clock::time_point now);
  void on(const study::AnswerChecked& e, Clock::time_point now);
  void on(const study::SentencePassed& e, Clock::time_point now);
  void on(const study::SentenceFailed& e, Clock::time_point now);
  void on(const study::StretchPlayed& e, Clock::time_point now);
  void on(const study::TakeCompared& e, Clock::time_point now);
  template <class Other>
  void on(const Other&, Clock::time_point) {}
  void note(const char* kind, std::string detail, Clock::time_point now);
  void judged(const study::SentenceKey& key, int score, int passMark, bool passed,
              Clock::time_point now);
  void enqueue(const study::SentenceKey& key, const std::string& reason, const Card& card);
  void loadQueue();

  Options options_;
  Fsrs fsrs_;
  std::unique_ptr<LogWriter> writer_;
  std::unordered_map<std::string, Tally> tallies_;
  std::unordered_map<std::string, Card> queue_;  // by key text
  std::optional<Clock::time_point> lastEvent_;
};

}  // namespace studymodel

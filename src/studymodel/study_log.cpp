#include "studymodel/study_log.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

namespace studymodel {

namespace {

namespace fs = std::filesystem;
using std::int64_t;
using storage::StudyDatabase;

// Time between two events longer than this was not study.
constexpr auto kIdle = std::chrono::minutes(5);

std::tm localTime(Clock::time_point at) {
  const std::time_t t = Clock::to_time_t(at);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

// Days from 1970-01-01 of a civil date (Howard Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

// "2026-12-11T08:30:00.250Z": the moment of a row, as SQLite writes its own.
std::string stamp(Clock::time_point at) {
  const std::time_t t = Clock::to_time_t(at);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[96];
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()) % 1000;
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(ms.count()));
  return text;
}

// A damaged file and its journal go to "<file>.damaged-<time>".
std::string moveAside(const std::string& path, Clock::time_point at) {
  std::string when = stamp(at);
  for (char& c : when)
    if (c == ':') c = '-';
  const std::string aside = path + ".damaged-" + when;
  std::error_code ec;
  fs::rename(path, aside, ec);
  if (ec) return {};
  for (const char* journal : {"-wal", "-shm"}) fs::rename(path + journal, aside + journal, ec);
  return aside;
}

void writeCard(StudyDatabase& db, const std::string& key, const Card& c) {
  db.prepare(
        "UPDATE review_card SET stability = ?, difficulty = ?, reps = ?, lapses = ?,"
        " last_day = ?, due_day = ?, scheduled_days = ? WHERE sentence = ?")
      .bind(1, c.stability)
      .bind(2, c.difficulty)
      .bind(3, int64_t{c.reps})
      .bind(4, int64_t{c.lapses})
      .bind(5, c.lastDay)
      .bind(6, c.dueDay)
      .bind(7, int64_t{c.scheduledDays})
      .bind(8, key)
      .step();
}

}  // namespace

int64_t dayNumber(Clock::time_point at) {
  const std::tm t = localTime(at);
  return daysFromCivil(t.tm_year + 1900, unsigned(t.tm_mon + 1), unsigned(t.tm_mday));
}

std::string dayText(Clock::time_point at) {
  const std::tm t = localTime(at);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return text;
}

// A file that is no database fails at its first read; one damaged inside
// fails when the queue is read (a whole check of the file would cost tens of
// milliseconds a year's log at each start). Damage found later is told as a
// failed write.
StudyLog::Opened StudyLog::open(const std::string& path, Options options) {
  Opened opened;
  const auto attempt = [&] {
    opened.log.reset(
        new StudyLog(StudyDatabase::open(path, storage::studySchema(), options.vfs), options));
  };
  try {
    attempt();
  } catch (const storage::Error& e) {
    opened.refused = e.what();
    if (!e.damaged()) return opened;
    opened.movedAside = moveAside(path, options.now());
    if (opened.movedAside.empty()) return opened;
    try {
      attempt();
      opened.refused.clear();
    } catch (const storage::Error& again) {
      opened.refused = again.what();
    }
  }
  return opened;
}

StudyLog::StudyLog(StudyDatabase db, Options options)
    : options_(std::move(options)),
      writer_(std::make_unique<LogWriter>(std::move(db), options_.onTrouble)) {
  loadQueue();
}

void StudyLog::loadQueue() {
  writer_->read([this](StudyDatabase& db) {
    auto s = db.prepare(
        "SELECT sentence, stability, difficulty, reps, lapses, last_day, due_day,"
        " scheduled_days FROM review_card");
    while (s.step())
      queue_[s.text(0)] = Card{s.real(1),    s.real(2),    int(s.integer(3)), int(s.integer(4)),
                               s.integer(5), s.integer(6), int(s.integer(7))};
  });
}

// Every row names its sentence: the sentence row is kept up to date first.
void StudyLog::rememberSentence(const study::SentenceKey& key, std::string english) {
  if (english.empty() && options_.sentenceOf)
    if (const study::Sentence* known = options_.sentenceOf(key)) english = known->english;
  writer_->post([key, english](StudyDatabase& db) {
    db.prepare(
          "INSERT INTO sentence (key, book, lesson, position, english) VALUES (?, ?, ?, ?, ?)"
          " ON CONFLICT (key) DO UPDATE SET position = excluded.position,"
          " english = CASE WHEN excluded.english <> '' THEN excluded.english ELSE english END")
        .bind(1, key.text())
        .bind(2, key.book)
        .bind(3, int64_t{key.lesson})
        .bind(4, int64_t{key.position})
        .bind(5, english)
        .step();
  });
}

void StudyLog::countStudyTime(Clock::time_point now) {
  const auto last = std::exchange(lastEvent_, now);
  if (!last || now <= *last || now - *last > kIdle) return;
  const double seconds = std::chrono::duration<double>(now - *last).count();
  writer_->post([day = dayText(now), seconds](StudyDatabase& db) {
    db.prepare(
          "INSERT INTO study_day (day, seconds) VALUES (?, ?)"
          " ON CONFLICT (day) DO UPDATE SET seconds = seconds + excluded.seconds")
        .bind(1, day)
        .bind(2, seconds)
        .step();
  });
}

void StudyLog::hear(const study::Event& event) {
  const Clock::time_point now = options_.now();
  countStudyTime(now);
  std::visit([&](const auto& e) { on(e, now); }, event);
}

// The events of no sentence go to the general log with what they name.
void StudyLog::note(const char* kind, std::string detail, Clock::time_point now) {
  writer_->post([at = stamp(now), kind, detail = std::move(detail)](StudyDatabase& db) {
    db.prepare("INSERT INTO study_log (at, kind, detail) VALUES (?, ?, ?)")
        .bind(1, at)
        .bind(2, std::string(kind))
        .bind(3, detail)
        .step();
  });
}

void StudyLog::on(const study::LessonOpened& e, Clock::time_point now) {
  note("LessonOpened", e.book + "/" + std::to_string(e.lesson), now);
}

void StudyLog::on(const study::LessonPassed& e, Clock::time_point now) {
  note("LessonPassed", e.book + "/" + std::to_string(e.lesson), now);
}

void StudyLog::on(const study::PageChanged& e, Clock::time_point now) {
  note("PageChanged", std::to_string(e.from) + ">" + std::to_string(e.to), now);
}

// Dictation counts a sentence's time from its first sight.
void StudyLog::on(const study::SentenceMadeCurrent& e, Clock::time_point now) {
  if (e.page == kDictationPage) tallies_[e.key.text()] = Tally{0, 0, 0, now};
}

void StudyLog::on(const study::SentenceRedone& e, Clock::time_point now) {
  tallies_[e.key.text()] = Tally{0, 0, 0, now};
}

void StudyLog::on(const study::AnswerChecked& e, Clock::time_point now) {
  Tally& t = tallies_[e.key.text()];
  t.errors = e.errors, t.hints = e.hints, t.replays = e.replays;
  if (!t.since) t.since = now;
}

void StudyLog::on(const study::SentencePassed& e, Clock::time_point now) {
  judged(e.key, e.score, e.passMark, true, now);
}

void StudyLog::on(const study::SentenceFailed& e, Clock::time_point now) {
  judged(e.key, e.score, e.passMark, false, now);
}

void StudyLog::on(const study::StretchPlayed& e, Clock::time_point now) {
  if (e.key.empty()) return;
  rememberSentence(e.key);
  writer_->post([at = stamp(now), e](StudyDatabase& db) {
    db.prepare(
          "INSERT INTO sentence_played (at, sentence, speed, play, repeat, page)"
          " VALUES (?, ?, ?, ?, ?, ?)")
        .bind(1, at)
        .bind(2, e.key.text())
        .bind(3, e.speed)
        .bind(4, int64_t{e.play})
        .bind(5, int64_t{e.repeat})
        .bind(6, int64_t{e.page})
        .step();
  });
}

void StudyLog::on(const study::TakeCompared& e, Clock::time_point now) {
  if (e.key.empty()) return;
  rememberSentence(e.key);
  writer_->post([at = stamp(now), e](StudyDatabase& db) {
    db.prepare(
          "INSERT INTO take_figures (at, sentence, compared, intonation, rhythm, length,"
          " depart_word) VALUES (?, ?, ?, ?, ?, ?, ?)")
        .bind(1, at)
        .bind(2, e.key.text())
        .bind(3, int64_t{e.compared})
        .bind(4, int64_t{e.intonation})
        .bind(5, int64_t{e.rhythm})
        .bind(6, e.length)
        .bind(7, e.departWord)
        .step();
  });
}

// The outcome row; a sentence that cost an error or a hint joins the queue,
// graded "again" on this first sight; a queued one due is reviewed.
void StudyLog::judged(const study::SentenceKey& key, int score, int passMark, bool passed,
                      Clock::time_point now) {
  if (key.empty()) return;
  const Tally t = tallies_[key.text()];
  tallies_.erase(key.text());
  const double seconds = t.since ? std::chrono::duration<double>(now - *t.since).count() : 0;
  rememberSentence(key);
  writer_->post(
      [at = stamp(now), key = key.text(), t, score, passMark, passed, seconds](StudyDatabase& db) {
        db.prepare(
              "INSERT INTO dictation_outcome (at, sentence, errors, hints, replays, score,"
              " pass_mark, passed, seconds) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, at)
            .bind(2, key)
            .bind(3, int64_t{t.errors})
            .bind(4, int64_t{t.hints})
            .bind(5, int64_t{t.replays})
            .bind(6, int64_t{score})
            .bind(7, int64_t{passMark})
            .bind(8, int64_t{passed})
            .bind(9, seconds)
            .step();
      });
  const Grade grade = gradeFromOutcome(t.errors, t.hints, t.replays);
  // A queued sentence met again on its day (or later) has been reviewed.
  if (const auto card = queue_.find(key.text()); card != queue_.end()) {
    if (card->second.dueDay <= today()) review(key.text(), grade, false);
  } else if (t.errors > 0 || t.hints > 0) {
    enqueue(key, t.errors > 0 ? "error" : "hint", fsrs_.review(Card{}, today(), grade));
  }
}

void StudyLog::enqueue(const study::SentenceKey& key, const std::string& reason, const Card& card) {
  queue_[key.text()] = card;
  writer_->post([at = stamp(options_.now()), key = key.text(), reason, card](StudyDatabase& db) {
    db.prepare(
          "INSERT OR REPLACE INTO review_card (sentence, reason, added, stability, difficulty,"
          " reps, lapses, last_day, due_day, scheduled_days) VALUES (?, ?, ?, 0, 0, 0, 0, 0, 0, 0)")
        .bind(1, key)
        .bind(2, reason)
        .bind(3, at)
        .step();
    writeCard(db, key, card);
  });
}

bool StudyLog::queued(const study::SentenceKey& key) const { return queue_.count(key.text()) > 0; }

bool StudyLog::toggleMark(const study::Sentence& sentence) {
  const std::string key = sentence.key.text();
  if (queue_.erase(key)) {
    writer_->post([key](StudyDatabase& db) {
      db.prepare("DELETE FROM review_card WHERE sentence = ?").bind(1, key).step();
    });
    return false;
  }
  rememberSentence(sentence.key, sentence.english);
  Card card;
  card.dueDay = today();
  enqueue(sentence.key, "marked", card);
  return true;
}

int StudyLog::dueCount() const {
  const int64_t day = today();
  int due = 0;
  for (const auto& [key, card] : queue_) due += card.dueDay <= day;
  return due;
}

int StudyLog::queueSize() const { return int(queue_.size()); }

std::vector<DueSentence> StudyLog::due() {
  std::vector<DueSentence> sentences;
  writer_->read([&](StudyDatabase& db) {
    auto s = db.prepare(
        "SELECT c.sentence, s.book, s.lesson, s.position, s.english, c.stability, c.difficulty,"
        " c.reps, c.lapses, c.last_day, c.due_day, c.scheduled_days"
        " FROM review_card c JOIN sentence s ON s.key = c.sentence"
        " WHERE c.due_day <= ? ORDER BY c.due_day, c.sentence");
    s.bind(1, today());
    while (s.step())
      sentences.push_back(
          DueSentence{s.text(0), s.text(1), int(s.integer(2)), int(s.integer(3)), s.text(4),
                      Card{s.real(5), s.real(6), int(s.integer(7)), int(s.integer(8)), s.integer(9),
                           s.integer(10), int(s.integer(11))}});
  });
  return sentences;
}

void StudyLog::review(const std::string& key, Grade grade, bool byLearner) {
  const auto found = queue_.find(key);
  if (found == queue_.end()) return;
  const int64_t day = today();
  const Card card = found->second = fsrs_.review(found->second, day, grade);
  writer_->post([at = stamp(options_.now()), key, grade, byLearner, day, card](StudyDatabase& db) {
    writeCard(db, key, card);
    db.prepare(
          "INSERT INTO review_log (at, sentence, grade, by_learner, day, stability, difficulty,"
          " due_day) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, at)
        .bind(2, key)
        .bind(3, int64_t{int(grade)})
        .bind(4, int64_t{byLearner})
        .bind(5, day)
        .bind(6, card.stability)
        .bind(7, card.difficulty)
        .bind(8, card.dueDay)
        .step();
  });
}

}  // namespace studymodel

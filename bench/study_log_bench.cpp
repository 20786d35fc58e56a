// The study log and the review queue at a year's size: opening the queue as
// the review page does (the database opened, the queue's index read, the due
// sentences with their lessons and books), with 10,000 sentences queued and a
// year of history (365 days x 500 events), beside a bare query of the same
// rows in the same run; and the log's cost to a dictation Enter, the longest
// time the events of one Enter spend in the log's subscriber over 1,000
// answers (the writes themselves go to the log's worker).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "storage/study_database.h"
#include "studymodel/study_log.h"

namespace {

namespace fs = std::filesystem;
using studymodel::Clock;

constexpr int kQueued = 10000, kDays = 365, kEventsADay = 500;

fs::path benchFolder() {
  return fs::temp_directory_path() / ("parlenda-log-bench-" + std::to_string(getpid()));
}

std::string key(int n) { return "Book" + std::to_string(n % 40) + "/" + std::to_string(n) + "/k"; }

// The year's database, made once: 10,000 sentences queued (half of them due),
// 365 x 500 events over them in the log's tables.
std::string yearDatabase() {
  static const std::string path = [] {
    fs::create_directories(benchFolder());
    std::atexit([] { fs::remove_all(benchFolder()); });
    const std::string p = (benchFolder() / "year.db").string();
    storage::StudyDatabase db = storage::StudyDatabase::open(p);
    const std::int64_t today = studymodel::dayNumber(Clock::now());
    db.transaction([&] {
      auto sentence = db.prepare("INSERT INTO sentence VALUES (?, ?, ?, ?, ?)");
      auto card = db.prepare(
          "INSERT INTO review_card VALUES (?, 'error', '2026-01-01T00:00:00.000Z', 3.2, 6.1,"
          " 3, 1, ?, ?, 4)");
      for (int n = 0; n < kQueued; ++n) {
        sentence.bind(1, key(n))
            .bind(2, "Book" + std::to_string(n % 40))
            .bind(3, std::int64_t{n % 60 + 1})
            .bind(4, std::int64_t{n % 30 + 1})
            .bind(5, "Sentence number " + std::to_string(n) + " of the year.")
            .step();
        sentence.reset();
        card.bind(1, key(n)).bind(2, today - 4).bind(3, today - 2 + (n % 4)).step();
        card.reset();
      }
      auto played = db.prepare(
          "INSERT INTO sentence_played (at, sentence, speed, play, repeat, page)"
          " VALUES (?, ?, 1.0, 1, 1, 1)");
      auto outcome = db.prepare(
          "INSERT INTO dictation_outcome (at, sentence, errors, hints, replays, score,"
          " pass_mark, passed, seconds) VALUES (?, ?, 1, 0, 0, 90, 60, 1, 12.5)");
      for (int d = 0; d < kDays; ++d)
        for (int e = 0; e < kEventsADay; ++e) {
          const std::string at = "2026-01-01T00:00:00.000Z";
          auto& s = e % 2 ? played : outcome;
          s.bind(1, at).bind(2, key((d * kEventsADay + e) % kQueued)).step();
          s.reset();
        }
    });
    return p;
  }();
  return path;
}

// What the review page needs to open: the log, the count due today, the due
// sentences with their books and lessons.
void OpenReviewQueue(benchmark::State& state) {
  const std::string path = yearDatabase();
  std::size_t due = 0;
  for (auto _ : state) {
    auto opened = studymodel::StudyLog::open(path, {});
    const int count = opened.log->dueCount();
    due = opened.log->due().size();
    benchmark::DoNotOptimize(count);
  }
  state.counters["due"] = double(due);
}

// The same due rows by a bare SQLite query on an open connection.
void BareDueQuery(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(yearDatabase().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const std::int64_t today = studymodel::dayNumber(Clock::now());
  std::size_t due = 0;
  for (auto _ : state) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT c.sentence, s.book, s.lesson, s.position, s.english, c.stability,"
                       " c.difficulty, c.reps, c.lapses, c.last_day, c.due_day,"
                       " c.scheduled_days FROM review_card c JOIN sentence s"
                       " ON s.key = c.sentence WHERE c.due_day <= ? ORDER BY c.due_day,"
                       " c.sentence",
                       -1, &s, nullptr);
    sqlite3_bind_int64(s, 1, today);
    due = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_text(s, 4));
      ++due;
    }
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  state.counters["due"] = double(due);
}

// 1,000 dictation answers, each Enter's events as the window tells them (the
// answer checked, the sentence passed with an error, so queued, the next
// sentence made current and played); the longest and the mean time in the
// subscriber, per Enter.
void DictationEnterInTheLog(benchmark::State& state) {
  for (auto _ : state) {
    const std::string path = (benchFolder() / "enter.db").string();
    fs::remove(path);
    auto log = studymodel::StudyLog::open(path, {}).log;
    double longest = 0, total = 0;
    for (int n = 0; n < 1000; ++n) {
      const auto k =
          study::makeSentenceKey("Book01", n / 50 + 1, "Sentence " + std::to_string(n), n % 50 + 1);
      const auto next = study::makeSentenceKey("Book01", n / 50 + 1,
                                               "Sentence " + std::to_string(n + 1), n % 50 + 2);
      const auto start = std::chrono::steady_clock::now();
      log->hear(study::AnswerChecked{k, 8, true, 1, 0, 1, 85});
      log->hear(study::SentencePassed{k, 85, 60});
      log->hear(study::SentenceMadeCurrent{next, n % 50 + 2, 50, 8});
      log->hear(study::StretchPlayed{next, 1, 2, 1.0, 1, 1, 8});
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      longest = std::max(longest, ms);
      total += ms;
    }
    state.counters["longest_ms"] = longest;
    state.counters["mean_ms"] = total / 1000;
    log->flush();
  }
}

BENCHMARK(BareDueQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenReviewQueue)->Unit(benchmark::kMillisecond);
BENCHMARK(DictationEnterInTheLog)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

#include "storage/study_database.h"

#include <sqlite3.h>

#include <utility>

namespace storage {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
  throw Error(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"),
              db ? sqlite3_errcode(db) & 0xff : SQLITE_NOMEM);
}

}  // namespace

bool Error::diskFull() const { return code == SQLITE_FULL; }
bool Error::damaged() const { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

const std::vector<Migration>& studySchema() {
  static const std::vector<Migration> schema = {
      {1,
       "CREATE TABLE sentence ("
       "  key TEXT PRIMARY KEY,"  // SentenceKey::text(): book/lesson/digest
       "  book TEXT NOT NULL, lesson INTEGER NOT NULL, position INTEGER NOT NULL,"
       "  english TEXT NOT NULL);"},
      {2,
       "CREATE TABLE study_log ("
       "  id INTEGER PRIMARY KEY,"
       "  at TEXT NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ', 'now')),"
       "  kind TEXT NOT NULL,"  // the event's name
       "  sentence TEXT REFERENCES sentence(key),"
       "  detail TEXT NOT NULL DEFAULT '');"
       "CREATE INDEX study_log_sentence ON study_log(sentence, at);"},
      {3,
       // A dictation sentence from its first sight to its judgement.
       "CREATE TABLE dictation_outcome ("
       "  id INTEGER PRIMARY KEY, at TEXT NOT NULL,"
       "  sentence TEXT NOT NULL REFERENCES sentence(key),"
       "  errors INTEGER NOT NULL, hints INTEGER NOT NULL, replays INTEGER NOT NULL,"
       "  score INTEGER NOT NULL, pass_mark INTEGER NOT NULL, passed INTEGER NOT NULL,"
       "  seconds REAL NOT NULL);"
       "CREATE INDEX dictation_outcome_sentence ON dictation_outcome(sentence, at);"
       "CREATE TABLE take_figures ("
       "  id INTEGER PRIMARY KEY, at TEXT NOT NULL,"
       "  sentence TEXT NOT NULL REFERENCES sentence(key),"
       "  compared INTEGER NOT NULL, intonation INTEGER NOT NULL, rhythm INTEGER NOT NULL,"
       "  length REAL NOT NULL, depart_word TEXT NOT NULL);"
       "CREATE TABLE sentence_played ("
       "  id INTEGER PRIMARY KEY, at TEXT NOT NULL,"
       "  sentence TEXT NOT NULL REFERENCES sentence(key),"
       "  speed REAL NOT NULL, play INTEGER NOT NULL, repeat INTEGER NOT NULL,"
       "  page INTEGER NOT NULL);"
       // Seconds of study on each calendar day ("2026-12-11").
       "CREATE TABLE study_day (day TEXT PRIMARY KEY, seconds REAL NOT NULL);"
       // The review queue: one card a sentence, scheduled by FSRS in day numbers.
       "CREATE TABLE review_card ("
       "  sentence TEXT PRIMARY KEY REFERENCES sentence(key),"
       "  reason TEXT NOT NULL,"  // 'error', 'hint' or 'marked'
       "  added TEXT NOT NULL,"
       "  stability REAL NOT NULL, difficulty REAL NOT NULL,"
       "  reps INTEGER NOT NULL, lapses INTEGER NOT NULL,"
       "  last_day INTEGER NOT NULL, due_day INTEGER NOT NULL, scheduled_days INTEGER NOT NULL);"
       "CREATE INDEX review_card_due ON review_card(due_day);"
       "CREATE TABLE review_log ("
       "  id INTEGER PRIMARY KEY, at TEXT NOT NULL,"
       "  sentence TEXT NOT NULL REFERENCES sentence(key),"
       "  grade INTEGER NOT NULL, by_learner INTEGER NOT NULL, day INTEGER NOT NULL,"
       "  stability REAL NOT NULL, difficulty REAL NOT NULL, due_day INTEGER NOT NULL);"},
  };
  return schema;
}

StudyDatabase StudyDatabase::open(const std::string& path, const std::vector<Migration>& migrations,
                                  const char* vfs) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (const int rc = sqlite3_open_v2(path.c_str(), &db, flags, vfs); rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw Error("cannot open " + path + ": " + message, rc & 0xff);
  }
  StudyDatabase opened(db);
  sqlite3_busy_timeout(db, 2000);
  opened.execute("PRAGMA foreign_keys = ON");
  // The first read finds a file that is not a database.
  opened.execute("PRAGMA journal_mode = WAL");
  // In WAL mode NORMAL syncs the journal at each checkpoint, not at each
  // commit: a commit is in the journal file once it returns, so the program
  // killed (kill -9, a crash) loses none; only a power cut or a system crash
  // can lose the last commits, never the file. FULL would add a flush to
  // the disk per commit for that case alone.
  opened.execute("PRAGMA synchronous = NORMAL");
  opened.migrate(migrations);
  return opened;
}

StudyDatabase::StudyDatabase(sqlite3* db) : db_(db) {}
StudyDatabase::StudyDatabase(StudyDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)) {}
StudyDatabase& StudyDatabase::operator=(StudyDatabase&& other) noexcept {
  std::swap(db_, other.db_);
  return *this;
}
StudyDatabase::~StudyDatabase() { sqlite3_close_v2(db_); }

void StudyDatabase::execute(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string what = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw Error(what + " (in: " + sql.substr(0, 60) + ")", sqlite3_errcode(db_) & 0xff);
  }
}

Statement StudyDatabase::prepare(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
    fail(db_, "cannot prepare " + sql);
  return Statement(db_, statement);
}

void StudyDatabase::rollback() noexcept {
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::int64_t StudyDatabase::changes() const { return sqlite3_changes64(db_); }

int StudyDatabase::schemaVersion() const {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &s, nullptr);
  const int version = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
  sqlite3_finalize(s);
  return version;
}

std::string StudyDatabase::journalMode() const {
  Statement s = const_cast<StudyDatabase*>(this)->prepare("PRAGMA journal_mode");
  return s.step() ? s.text(0) : "";
}

// Each step and the version it reaches are kept together or not at all.
void StudyDatabase::migrate(const std::vector<Migration>& migrations) {
  const int known = migrations.empty() ? 0 : migrations.back().version;
  const int version = schemaVersion();
  if (version > known)
    throw Error("the study database is of schema version " + std::to_string(version) +
                ", newer than this program's " + std::to_string(known));
  for (const Migration& m : migrations) {
    if (m.version <= version) continue;
    transaction([&] {
      execute(m.sql);
      execute("PRAGMA user_version = " + std::to_string(m.version));
    });
  }
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), statement_(std::exchange(other.statement_, nullptr)) {}
Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::bind(int index, const std::string& text) {
  if (sqlite3_bind_text(statement_, index, text.data(), int(text.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    fail(db_, "cannot bind");
  return *this;
}

Statement& Statement::bind(int index, std::int64_t number) {
  if (sqlite3_bind_int64(statement_, index, number) != SQLITE_OK) fail(db_, "cannot bind");
  return *this;
}

Statement& Statement::bind(int index, double number) {
  if (sqlite3_bind_double(statement_, index, number) != SQLITE_OK) fail(db_, "cannot bind");
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(statement_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  fail(db_, "cannot step");
}

void Statement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::string Statement::text(int column) const {
  const auto* t = sqlite3_column_text(statement_, column);
  return t ? reinterpret_cast<const char*>(t) : "";
}

std::int64_t Statement::integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

double Statement::real(int column) const { return sqlite3_column_double(statement_, column); }

}  // namespace storage

#pragma once
// The learner's study database (the study log, the review queue to come): one
// SQLite file, opened here and nowhere else. Opening brings its schema to the
// version this program knows, one migration at a time, each in a transaction
// with the version it reaches (SQLite's user_version); a file from a newer
// program, or one that is not a database, is refused and left as it is. The
// journal is written ahead (WAL), so a reader never waits for a writer.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace storage {

struct Error : std::runtime_error {
  explicit Error(const std::string& what, int sqliteCode = 0)
      : std::runtime_error(what), code(sqliteCode) {}
  int code;  // SQLite's primary result code (SQLITE_FULL ...); 0 when none
  bool diskFull() const;
  bool damaged() const;  // not a database, or a damaged one
};

// One step of the schema: the SQL that takes version `version - 1` to `version`.
struct Migration {
  int version;
  const char* sql;
};
// The schema of this program, oldest step first.
const std::vector<Migration>& studySchema();

class Statement;

class StudyDatabase {
 public:
  // Throws Error with what went wrong (in English, for the log; the window
  // words it for the learner).
  // `vfs` names an SQLite VFS other than the default (tests inject faults).
  static StudyDatabase open(const std::string& path,
                            const std::vector<Migration>& migrations = studySchema(),
                            const char* vfs = nullptr);
  StudyDatabase(StudyDatabase&&) noexcept;
  StudyDatabase& operator=(StudyDatabase&&) noexcept;
  ~StudyDatabase();

  int schemaVersion() const;
  std::string journalMode() const;
  // Runs SQL without results (several statements may follow each other).
  void execute(const std::string& sql);
  Statement prepare(const std::string& sql);
  std::int64_t changes() const;  // rows the last statement changed
  // Runs `work` in a transaction: all of it is kept, or none if it throws.
  template <class Work>
  void transaction(Work&& work) {
    execute("BEGIN IMMEDIATE");
    try {
      work();
      execute("COMMIT");
    } catch (...) {
      rollback();
      throw;
    }
  }
  // Ends a transaction still open (SQLite ends some on its own on a full disk).
  void rollback() noexcept;

 private:
  explicit StudyDatabase(sqlite3* db);
  void migrate(const std::vector<Migration>& migrations);
  sqlite3* db_ = nullptr;
};

// A prepared statement: bind from 1, step, read columns from 0.
class Statement {
 public:
  Statement(Statement&&) noexcept;
  ~Statement();
  Statement& bind(int index, const std::string& text);
  Statement& bind(int index, std::int64_t number);
  Statement& bind(int index, double number);
  bool step();  // true while a row is there
  void reset();
  std::string text(int column) const;
  std::int64_t integer(int column) const;
  double real(int column) const;

 private:
  friend class StudyDatabase;
  Statement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
  sqlite3* db_;
  sqlite3_stmt* statement_;
};

}  // namespace storage

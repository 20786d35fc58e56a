// The study database on a temporary file: made at the current schema, moved
// up one migration at a time, never half migrated, refused when it is newer
// or no database at all.
#include "storage/study_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Database : ::testing::Test {
  fs::path folder;
  std::string file;
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("parlenda-db-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    file = (folder / "study.db").string();
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string bytesOf(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

int count(storage::StudyDatabase& db, const std::string& table) {
  storage::Statement s = db.prepare("SELECT count(*) FROM " + table);
  return s.step() ? int(s.integer(0)) : -1;
}

TEST_F(Database, ANewFileGetsTheWholeSchemaWithAJournalWrittenAhead) {
  storage::StudyDatabase db = storage::StudyDatabase::open(file);
  EXPECT_EQ(db.schemaVersion(), storage::studySchema().back().version);
  EXPECT_EQ(db.journalMode(), "wal");
  db.prepare("INSERT INTO sentence VALUES (?, ?, ?, ?, ?)")
      .bind(1, std::string("Book01/1/abc"))
      .bind(2, std::string("Book01"))
      .bind(3, std::int64_t{1})
      .bind(4, std::int64_t{2})
      .bind(5, std::string("Hello, Tom."))
      .step();
  db.prepare("INSERT INTO study_log (kind, sentence) VALUES ('StretchPlayed', 'Book01/1/abc')")
      .step();
  EXPECT_EQ(count(db, "study_log"), 1);
  // A log line of a sentence that was never recorded is refused.
  EXPECT_THROW(db.prepare("INSERT INTO study_log (kind, sentence) VALUES ('x', 'nothing')").step(),
               storage::Error);
}

TEST_F(Database, AnOlderFileIsMigratedAndKeepsItsRows) {
  const auto& all = storage::studySchema();
  {
    storage::StudyDatabase first = storage::StudyDatabase::open(
        file, std::vector<storage::Migration>(all.begin(), all.begin() + 1));
    EXPECT_EQ(first.schemaVersion(), 1);
    first.execute("INSERT INTO sentence VALUES ('k', 'Book01', 1, 1, 'Hello.')");
  }
  storage::StudyDatabase db = storage::StudyDatabase::open(file);
  EXPECT_EQ(db.schemaVersion(), all.back().version);
  EXPECT_EQ(count(db, "sentence"), 1);
  EXPECT_EQ(count(db, "study_log"), 0);
  // Opened again, nothing runs twice.
  storage::StudyDatabase again = storage::StudyDatabase::open(file);
  EXPECT_EQ(count(again, "sentence"), 1);
}

TEST_F(Database, AFailingMigrationLeavesTheVersionBefore) {
  const std::vector<storage::Migration> broken = {
      {1, "CREATE TABLE a (x);"}, {2, "CREATE TABLE b (y); INSERT INTO nowhere VALUES (1);"}};
  EXPECT_THROW(storage::StudyDatabase::open(file, broken), storage::Error);
  storage::StudyDatabase db = storage::StudyDatabase::open(file, {broken[0]});
  EXPECT_EQ(db.schemaVersion(), 1);
  EXPECT_THROW(count(db, "b"), storage::Error) << "table b went with its failed step";
}

TEST_F(Database, ANewerOrForeignFileIsRefusedAndLeftAsItIs) {
  {
    storage::StudyDatabase db = storage::StudyDatabase::open(file);
    db.execute("PRAGMA user_version = 99");
  }
  EXPECT_THROW(storage::StudyDatabase::open(file), storage::Error);
  const std::string other = (folder / "notes.db").string();
  std::ofstream(other, std::ios::binary) << "not a database, a learner's notes\n";
  const std::string before = bytesOf(other);
  EXPECT_THROW(storage::StudyDatabase::open(other), storage::Error);
  EXPECT_EQ(bytesOf(other), before);
  EXPECT_THROW(storage::StudyDatabase::open((folder / "no" / "such" / "x.db").string()),
               storage::Error);
}

TEST_F(Database, ATransactionKeepsAllOrNothing) {
  storage::StudyDatabase db = storage::StudyDatabase::open(file);
  EXPECT_THROW(db.transaction([&] {
    db.execute("INSERT INTO sentence VALUES ('k', 'Book01', 1, 1, 'Hello.')");
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(count(db, "sentence"), 0);
  db.transaction(
      [&] { db.execute("INSERT INTO sentence VALUES ('k', 'Book01', 1, 1, 'Hello.')"); });
  EXPECT_EQ(count(db, "sentence"), 1);
}

}  // namespace

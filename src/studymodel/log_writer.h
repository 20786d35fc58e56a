#pragma once
// The study database's one writer: a worker thread that owns the connection.
// post() only queues a write and returns, so no handler ever waits on the
// disk; the worker runs what waits in one transaction, so a batch is kept
// whole or not at all. A write that fails for a full disk (or another fault
// of the disk) stays queued and is tried again with the next batch; one that
// fails for any other reason is dropped. Either is told to onTrouble, on
// the worker thread, once for each run of failures.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "storage/study_database.h"

namespace studymodel {

enum class Trouble { DiskFull, WriteFailed };

class LogWriter {
 public:
  using Write = std::function<void(storage::StudyDatabase&)>;

  LogWriter(storage::StudyDatabase db, std::function<void(Trouble, std::string)> onTrouble);
  ~LogWriter();  // writes what waits (or tries to), then stops
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  void post(Write write);
  // Waits until every write posted so far was tried; true when all are kept.
  bool flush();
  // Runs `read` on the worker after the writes posted before it, and waits.
  void read(const std::function<void(storage::StudyDatabase&)>& read);

 private:
  void run();
  bool writeBatch(std::deque<Write>& batch);

  storage::StudyDatabase db_;
  std::function<void(Trouble, std::string)> onTrouble_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  std::deque<Write> queue_;
  std::deque<Write> unwritten_;  // kept for the next try (disk full)
  std::uint64_t posted_ = 0, tried_ = 0;
  bool troubled_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace studymodel

#include "studymodel/log_writer.h"

#include <future>
#include <memory>
#include <utility>

namespace studymodel {

namespace {
// What a full disk may keep in memory for the next try (about a day's study).
constexpr std::size_t kMaxUnwritten = 50000;
}  // namespace

LogWriter::LogWriter(storage::StudyDatabase db, std::function<void(Trouble, std::string)> onTrouble)
    : db_(std::move(db)), onTrouble_(std::move(onTrouble)), worker_([this] { run(); }) {}

LogWriter::~LogWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

void LogWriter::post(Write write) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(write));
    ++posted_;
  }
  wake_.notify_one();
}

bool LogWriter::flush() {
  std::unique_lock lock(mutex_);
  const std::uint64_t target = posted_;
  done_.wait(lock, [&] { return tried_ >= target; });
  return unwritten_.empty();
}

void LogWriter::read(const std::function<void(storage::StudyDatabase&)>& read) {
  // A batch tried again (disk full) runs it again: only the first run counts.
  struct Job {
    std::function<void(storage::StudyDatabase&)> read;
    std::promise<void> finished;
    bool ran = false;
  };
  auto job = std::make_shared<Job>(Job{read, {}, false});
  std::future<void> finished = job->finished.get_future();
  post([job](storage::StudyDatabase& db) {
    if (std::exchange(job->ran, true)) return;
    try {
      job->read(db);
      job->finished.set_value();
    } catch (...) {
      job->finished.set_exception(std::current_exception());
    }
  });
  finished.get();
}

void LogWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    // Going: what a full disk kept gets one last try.
    const bool last = stopping_ && queue_.empty();
    if (last && unwritten_.empty()) return;
    std::deque<Write> batch = std::move(unwritten_);
    unwritten_.clear();
    const std::size_t fresh = queue_.size();
    for (Write& w : queue_) batch.push_back(std::move(w));
    queue_.clear();
    lock.unlock();
    const bool kept = writeBatch(batch);
    lock.lock();
    if (!kept && batch.size() <= kMaxUnwritten) unwritten_ = std::move(batch);
    tried_ += fresh;
    done_.notify_all();
    if (last) return;
  }
}

// One transaction; on a fault of the disk the batch is handed back to be
// tried again.
bool LogWriter::writeBatch(std::deque<Write>& batch) {
  try {
    db_.transaction([&] {
      for (Write& w : batch) w(db_);
    });
    troubled_ = false;
    batch.clear();
    return true;
  } catch (const storage::Error& e) {
    const bool disk = e.diskFull() || e.code == 10 /* SQLITE_IOERR */;
    if (!std::exchange(troubled_, true) && onTrouble_)
      onTrouble_(disk ? Trouble::DiskFull : Trouble::WriteFailed, e.what());
    if (!disk) batch.clear();
    return batch.empty();
  }
}

}  // namespace studymodel

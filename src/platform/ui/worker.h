#pragma once
// Work kept off the user-interface thread: each job runs on a worker thread,
// one after another, and the function it returns then runs on the
// user-interface thread, between its other events.
#include <functional>
#include <memory>

namespace ui {

class Worker {
 public:
  using Then = std::function<void()>;  // runs on the user-interface thread
  using Job = std::function<Then()>;   // runs on the worker

  Worker();
  // Waits for the job that runs; what has not been handed back is dropped.
  ~Worker();
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  void run(Job job);
  // A job runs or waits, or its result has not been handed back yet.
  bool busy() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui

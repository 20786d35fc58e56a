#pragma once
// Calls that run on the user-interface thread once the events already waiting
// have run; those still waiting when their Later goes are dropped.
#include <functional>
#include <memory>

namespace ui {

class Later {
 public:
  Later();
  ~Later();
  Later(const Later&) = delete;
  Later& operator=(const Later&) = delete;

  void post(std::function<void()> call);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui

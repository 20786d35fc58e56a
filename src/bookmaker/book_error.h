#pragma once
// The faults a book can fail with: each is told in one line naming its file
// and line where there is one, and no book is written.
#include <stdexcept>
#include <string>

namespace bookmaker {

class BookError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The maker was asked to stop; nothing was written.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("cancelled") {}
};

}  // namespace bookmaker

#pragma once
// Effect sounds: a short wave file played without waiting for its end.
#include <string>

namespace platform {

class Sounds {
 public:
  virtual ~Sounds() = default;
  // A new sound cuts off the one still playing; a missing or broken file plays
  // nothing and reports nothing.
  virtual void play(const std::string& wavPath) = 0;
};

}  // namespace platform

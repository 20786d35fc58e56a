#pragma once
// Whether the mini mode was on and where its strip stood (screen pixels),
// one line "on\left\top\" in the learner's data; not the settings file,
// whose fields stay as they are.
#include <optional>
#include <string>

namespace mini {

struct StripPlace {
  bool on = false;
  std::optional<int> left, top;  // none: the strip has not been placed yet
};

// The place read from the file; off and unplaced when it is missing or unreadable.
StripPlace readStripPlace(const std::string& file);
// Replaces the file whole; false when it could not be written.
bool writeStripPlace(const std::string& file, const StripPlace& place);

}  // namespace mini

#pragma once
// The desktop shell: another program, a page in the learner's browser.
#include <string>

namespace platform {

// Starts a program of the program folder; false when it could not start.
bool startMinimized(const std::string& program);
// Asks the desktop to open an address in the default browser.
void openInBrowser(const std::string& address);

}  // namespace platform

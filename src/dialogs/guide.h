#pragma once
// The program's user guide, an HTML file shipped with the program: opened in
// the learner's browser, or in a window of the program's own where the
// desktop opens none.
#include <string>

namespace dialogs {

// False when the file is not there (nothing is opened).
bool openGuide(const std::string& indexFile);

}  // namespace dialogs

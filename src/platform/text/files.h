#pragma once
// Paths of the program folder: every relative path of the program is written
// with "\" separators ("\SETTING\set.dat") and joined to the folder here.
//
// An installed program folder cannot be written. The program then keeps the
// files it writes (the settings, the places in the lessons, the results, the
// recording) in the learner's
// data folder, which has the program folder's layout; books the learner adds
// there are used in place of an installed book of the same title. Once a
// learner folder is in use for a program folder, programPath() over that
// program folder resolves each relative path to the folder that holds it.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::string programPath(const std::string& folder, std::string_view relative);
bool fileExists(const std::string& path);  // a regular file
// The names, without the extension, of the regular files in `folder` whose
// names end with `extension` (".dat"), sorted; none when it cannot be read.
std::vector<std::string> fileStemsIn(const std::string& folder, std::string_view extension);
// The folder that holds the running executable.
std::string executableFolder();

// $XDG_DATA_HOME/parlenda when that is an absolute path, else
// $HOME/.local/share/parlenda; empty when neither can be told.
std::string learnerDataFolder(const char* xdgDataHome, const char* home);
std::string learnerDataFolder();  // from the environment

// Whether the program can write its files in folder (the folder and its
// SETTING and SETTING/Results folders, for this process's user).
bool canWriteProgramFiles(const std::string& folder);

// Keeps the written files of programFolder in learnerFolder from now on: the
// folder is made, and each written file missing there is copied from the
// program folder (the first start; a results file of a newly installed
// book). False, and nothing changed, when the folder cannot be made.
bool useLearnerFolder(const std::string& programFolder, const std::string& learnerFolder);
// Back to the program folder alone (tests).
void stopUsingLearnerFolder();
// What start-up does: the learner folder when programFolder cannot be
// written; the program folder alone otherwise. Returns the folder written.
std::string chooseWriteFolder(const std::string& programFolder);

// Titles of the books in the learner folder of programFolder (its
// SETTING/BookList/*.dat files), sorted; none when no learner folder is used.
std::vector<std::string> learnerBooks(const std::string& programFolder);

}  // namespace platform

#pragma once
// The files of the program folder that belong to no book: the effect sounds,
// the recorder's file and the settings file naming the book to open.
#include <string>

namespace bookmaker {

void makeEffectSounds(const std::string& programFolder);
void makeRecorderFile(const std::string& programFolder);
void makeSettings(const std::string& programFolder, const std::string& bookTitle);

}  // namespace bookmaker

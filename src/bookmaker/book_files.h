#pragma once
// The text files of a course book, in the byte layouts the player reads.
// Every text file is code page 936; set.dat is the RTF document the player's
// own writer produces.
#include <string>
#include <vector>

namespace bookmaker {

struct Record {
  std::string english, chinese;
  double start = 0, end = 0;  // seconds
  std::string note;
};

// "*" then, per sentence, "English#中文#start#end#note#*" (UTF-8).
std::string lessonText(const std::vector<Record>& records);
// "^" then each title and "^".
std::string titleList(const std::vector<std::string>& titles);
// The results file: every lesson not yet passed.
std::string resultsText(const std::vector<std::string>& titles);
// set.dat's bytes: the settings line opening `bookTitle` at its first lesson.
std::string settingsDocument(const std::string& bookTitle);

}  // namespace bookmaker

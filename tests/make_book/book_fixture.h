#pragma once
// What the book maker's tests share: recordings with known sentence times
// (espeak-ng speaks each part of a sentence, split at its commas, and the
// parts are joined with silences of chosen lengths, so a pause inside a
// sentence may be longer than the pause between two), texts in any encoding,
// the command run on a folder, and the book read back as the player reads it.
#include <filesystem>
#include <string>
#include <vector>

#include "bookmaker/loudness.h"
#include "bookmaker/media.h"

namespace book_test {

namespace fs = std::filesystem;

struct Pacing {
  double lead = 0.5, comma = 0.45;
  std::vector<double> gaps = {0.7};
  double tail = 0.5;
  std::string voice = "en-us";
  int rate = 150;
};

struct Spoken {
  bookmaker::Samples samples;          // at bookmaker::kSpeechRate
  std::vector<bookmaker::Span> spans;  // each sentence's speech, seconds
};

Spoken spokenLesson(const std::vector<std::string>& englishes, const Pacing& pacing);
std::vector<bookmaker::Span> writeLessonWav(const fs::path& path,
                                            const std::vector<std::string>& englishes,
                                            const Pacing& pacing);

// UTF-8 text in another encoding (iconv's names: "GB18030", "UTF-16LE" ...).
std::string encoded(const std::string& utf8, const char* encoding);
void writeBytes(const fs::path& path, const std::string& bytes);
std::string readBytes(const fs::path& path);

struct ToolRun {
  int code;
  std::string out, err;
};
// parlenda-make-book with these arguments.
ToolRun makeBook(const std::vector<std::string>& arguments);
// A command line run through the shell; its exit code.
int shell(const std::string& command);

struct ReadRecord {
  std::string english, chinese;
  double start, end;
  std::string note;
};
// Items of a player list: the text begins with the mark and each is followed by one.
std::vector<std::string> separated(const std::string& text, char mark);
// The file as code page 936 text (fails the test on a byte that is not).
std::string readCp936(const fs::path& path);
std::vector<std::vector<std::string>> lessonFields(const fs::path& path);
std::vector<ReadRecord> readLesson(const fs::path& path);

std::string timestamp(double seconds, char comma);
std::string lrcTime(double seconds);

}  // namespace book_test

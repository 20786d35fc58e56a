// parlenda-make-book: makes a course book for the player from a folder of lessons.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bookmaker/book_error.h"
#include "bookmaker/book_maker.h"

namespace {

const char* const kUsage =
    "usage: parlenda-make-book [-h] [--title TITLE] [--encoding ENCODING] [--program-files] "
    "lessons program_folder\n";

const char* const kHelp = R"(
Makes a course book for the player from a folder of lessons.

LESSONS holds, in file-name order, one lesson per name:
  03-lecture.txt               a script, spoken by espeak-ng;
  03-lecture.txt + .mp3/...    a script with its recording: the sentences are
                               found in the speech (PocketSphinx alignment);
  04-dialogue.m4a + .lrc/.srt/.vtt
                               a recording with timed text: each cue is a sentence.
A recording is any file FFmpeg reads. Texts may be UTF-8, UTF-16 (with a
byte-order mark), GB18030 or code page 936. An optional book.ini sets
[book] title, voice, rate, kilobits and [titles] stem = lesson title.

positional arguments:
  lessons              folder of lessons (scripts, recordings, subtitles)
  program_folder       the player's program folder, e.g. data

options:
  -h, --help           show this help message and exit
  --title TITLE        book title (default: book.ini, else the folder name)
  --encoding ENCODING  encoding of every text (default: detected): utf-8, utf-16,
                       utf-16-le, utf-16-be, gb18030, cp936
  --program-files      also write set.dat naming this book, the effect sounds and Recorder.wav
)";

int usageError(const std::string& message) {
  std::cerr << kUsage << "parlenda-make-book: error: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bookmaker::BookRequest request;
  std::vector<std::string> positional;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    const auto value = [&](const char* name) -> std::optional<std::string> {
      const std::string prefix = std::string(name) + "=";
      if (arg.starts_with(prefix)) return arg.substr(prefix.size());
      if (k + 1 < argc) return std::string(argv[++k]);
      return std::nullopt;
    };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage << kHelp;
      return 0;
    } else if (arg == "--program-files") {
      request.programFiles = true;
    } else if (arg == "--title" || arg.starts_with("--title=")) {
      request.title = value("--title");
      if (!request.title) return usageError("argument --title: expected one argument");
    } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
      request.encoding = value("--encoding");
      if (!request.encoding) return usageError("argument --encoding: expected one argument");
    } else if (arg.starts_with("-") && arg.size() > 1) {
      return usageError("unrecognized arguments: " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() < 2)
    return usageError(std::string("the following arguments are required: ") +
                      (positional.empty() ? "lessons, program_folder" : "program_folder"));
  if (positional.size() > 2) return usageError("unrecognized arguments: " + positional[2]);
  request.lessons = positional[0];
  request.programFolder = positional[1];
  bookmaker::Progress progress;
  try {
    bookmaker::makeBook(
        request, [](const std::string& line) { std::cout << line << std::endl; }, progress);
  } catch (const bookmaker::BookError& error) {
    std::cerr << "make_book: " << error.what() << "\nmake_book: no book was written\n";
    return 1;
  } catch (const std::exception& error) {  // a file system fault
    std::cerr << "make_book: " << error.what() << "\nmake_book: no book was written\n";
    return 1;
  }
  return 0;
}

#pragma once
// Makes a course book for the player from a folder of lessons. Per name, in
// file-name order:
//   03-lecture.txt                 a script, spoken by espeak-ng;
//   03-lecture.txt + a recording   a transcript: its sentences are found in the speech;
//   04-dialogue.m4a + .lrc/.srt/.vtt   a recording with timed text: each cue is a sentence.
// Every text is read and checked before any audio is made; the whole book is
// made aside and moved into the program folder only when complete.
#include <optional>
#include <string>
#include <vector>

#include "bookmaker/progress.h"
#include "bookmaker/texts.h"

namespace bookmaker {

struct BookRequest {
  std::string lessons;        // the folder of lessons
  std::string programFolder;  // the player's program folder
  std::optional<std::string> title;
  std::optional<std::string> encoding;
  bool programFiles = false;  // also set.dat naming this book, the effect sounds, Recorder.wav
};

// The lesson titles of the book made; throws BookError (nothing written) or
// Cancelled (nothing written). `tell` gets every notice and lesson line.
std::vector<std::string> makeBook(const BookRequest& request, const Tell& tell, Progress& progress);

}  // namespace bookmaker

#pragma once
// Reading the shipped program folder (data/) the way the player does: paths
// with "\" separators, text files through the rich-text holder.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace course {

// The program folder of the source tree (what the build lays beside the executable).
std::string programFolder();
std::string pathOf(std::string_view relative);  // "\SETTING\set.dat" -> folder/SETTING/set.dat
std::string readBytes(const std::string& path);
// The file's text as the player's reader gives it (UTF-8); nullopt when it cannot be read.
std::optional<std::string> readText(std::string_view relative);

// Items of a separator list: the text begins with `sep` and every item is
// followed by one. nullopt when the text does not have that layout.
std::optional<std::vector<std::string>> splitList(std::string_view text, char sep);

// The books that have a lesson-title file.
std::vector<std::string> bookTitles();
std::string audioExtension(std::string_view book);  // ".wma" for Book04 and Book07

struct Record {
  std::string english, chinese, note;
  double start = 0, end = 0;
};
// A record has exactly five fields, each ended by "#", and numeric times.
std::optional<Record> parseRecord(std::string_view record);
std::optional<double> parseSeconds(std::string_view text);

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;  // only for 16-bit PCM
};
std::optional<Wav> readWav(const std::string& path);

}  // namespace course

#include "course_folder.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/text/files.h"
#include "platform/text/rich_text.h"
#include "rules/book_titles.h"

namespace course {

std::string programFolder() { return PARLENDA_SOURCE_DIR "/data"; }

std::string pathOf(std::string_view relative) {
  return platform::programPath(programFolder(), relative);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::optional<std::string> readText(std::string_view relative) {
  platform::RichTextBox box;
  if (box.loadFile(pathOf(relative)) != platform::RichTextBox::Load::Ok) return std::nullopt;
  return box.text();
}

std::optional<std::vector<std::string>> splitList(std::string_view text, char sep) {
  if (text.size() < 2 || text.front() != sep || text.back() != sep) return std::nullopt;
  std::vector<std::string> items;
  size_t from = 1;
  while (from < text.size()) {
    size_t to = text.find(sep, from);
    items.emplace_back(text.substr(from, to - from));
    from = to + 1;
  }
  return items;
}

std::vector<std::string> bookTitles() {
  std::vector<std::string> titles;
  for (const auto& entry : std::filesystem::directory_iterator(pathOf("\\SETTING\\BookList"))) {
    if (entry.path().extension() == ".dat") titles.push_back(entry.path().stem().string());
  }
  std::sort(titles.begin(), titles.end());
  return titles;
}

std::string audioExtension(std::string_view book) {
  return rules::audioExtension(std::string(book));
}

std::optional<double> parseSeconds(std::string_view text) {
  // Digits, one "." and digits: what the player reads as a number, nothing more.
  size_t point = text.find('.');
  auto digits = [](std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (point == std::string_view::npos
          ? !digits(text)
          : !digits(text.substr(0, point)) || !digits(text.substr(point + 1))) {
    return std::nullopt;
  }
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);  // locale-free
  return value;
}

std::optional<Record> parseRecord(std::string_view record) {
  std::vector<std::string_view> fields;
  size_t from = 0;
  for (size_t hash; (hash = record.find('#', from)) != std::string_view::npos; from = hash + 1) {
    fields.push_back(record.substr(from, hash - from));
  }
  if (fields.size() != 5 || from != record.size()) return std::nullopt;
  auto start = parseSeconds(fields[2]), end = parseSeconds(fields[3]);
  if (!start || !end) return std::nullopt;
  return Record{std::string(fields[0]), std::string(fields[1]), std::string(fields[4]), *start,
                *end};
}

namespace {
uint32_t le(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}
}  // namespace

std::optional<Wav> readWav(const std::string& path) {
  const std::string bytes = readBytes(path);
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    return std::nullopt;
  }
  Wav wav;
  bool haveFormat = false, haveData = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const size_t size = le(bytes, at + 4, 4), body = at + 8;
    if (body + size > bytes.size()) return std::nullopt;
    if (id == "fmt " && size >= 16) {
      wav.format = le(bytes, body, 2);
      wav.channels = le(bytes, body + 2, 2);
      wav.rate = le(bytes, body + 4, 4);
      wav.bits = le(bytes, body + 14, 2);
      haveFormat = true;
    } else if (id == "data" && haveFormat) {
      if (wav.bits == 16) {
        wav.samples.resize(size / 2);
        std::memcpy(wav.samples.data(), bytes.data() + body, size / 2 * 2);
      }
      haveData = true;
    }
    at = body + size + (size & 1);
  }
  if (!haveFormat || !haveData) return std::nullopt;
  return wav;
}

}  // namespace course

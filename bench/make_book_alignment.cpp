// Transcript alignment measured: how far each sentence stretch the book
// maker finds lies from its sentence's true first and last sound, on
// espeak-ng speech (true times known from the samples) and on real recorded
// human speech (the LibriVox reading that Debian's pocketsphinx-testdata
// ships, five consecutive sentences, each its own clip: true times are the
// first and last 10 ms of each clip that stand 15 dB above its quietest
// tenth). The clips are joined with pauses of 0.08 to 0.6 s.
//
//   make_book_alignment PARLENDA_MAKE_BOOK
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bookmaker/loudness.h"
#include "bookmaker/media.h"
#include "bookmaker/speech.h"
#include "make_book/book_fixture.h"

namespace {

namespace fs = std::filesystem;
using bookmaker::Span;

const std::vector<double> kGaps = {0.08, 0.15, 0.3, 0.6, 0.1, 0.4};
const std::string kLibrivox =
    "/usr/share/pocketsphinx/test/data/librivox/sense_and_sensibility_01_austen_64kb-";
const std::vector<std::pair<std::string, std::string>> kReading = {
    {"0870",
     "And Mister John Dashwood had then leisure to consider how much there might be prudently in "
     "his power "
     "to do for them."},
    {"0880", "He was not an ill disposed young man."},
    {"0890", "Unless to be rather cold hearted and rather selfish is to be ill disposed."},
    {"0920",
     "Had he married a more a amiable woman, he might have been made still more respectable than "
     "he was."},
    {"0930", "He might even have been made amiable himself."}};

struct Lesson {
  bookmaker::Samples samples;  // 22050 Hz
  std::vector<Span> truth;
  std::vector<std::string> sentences;
};

// The clip's speech: from its first to its last 10 ms that stand out.
Span speechOf(const bookmaker::Samples& clip) {
  const long frame = bookmaker::kSpeechRate / 100;
  std::vector<double> levels;
  for (std::size_t k = 0; k + std::size_t(frame) <= clip.size(); k += std::size_t(frame)) {
    double power = 0;
    for (long i = 0; i < frame; ++i)
      power += double(clip[k + std::size_t(i)]) * clip[k + std::size_t(i)];
    levels.push_back(10 * std::log10(power / double(frame) + 1));
  }
  std::vector<double> ordered = levels;
  std::sort(ordered.begin(), ordered.end());
  const double threshold = ordered[ordered.size() / 10] + 15;
  std::size_t first = 0, last = levels.size();
  while (first < levels.size() && levels[first] < threshold) ++first;
  while (last > first && levels[last - 1] < threshold) --last;
  return {double(first) / 100, double(last) / 100};
}

Lesson realReading() {
  Lesson lesson;
  for (std::size_t k = 0; k < kReading.size(); ++k) {
    if (k)
      lesson.samples.resize(
          lesson.samples.size() + std::size_t(kGaps[k - 1] * bookmaker::kSpeechRate), 0);
    const bookmaker::Samples clip =
        bookmaker::decodeWhole(kLibrivox + kReading[k].first + ".wav", bookmaker::kSpeechRate);
    const double at = double(lesson.samples.size()) / bookmaker::kSpeechRate;
    const Span speech = speechOf(clip);
    lesson.truth.push_back({at + speech.start, at + speech.end});
    lesson.samples.insert(lesson.samples.end(), clip.begin(), clip.end());
    lesson.sentences.push_back(kReading[k].second);
  }
  lesson.samples.resize(lesson.samples.size() + bookmaker::kSpeechRate / 2, 0);
  return lesson;
}

Lesson synthesised(const std::string& voice, int rate) {
  const std::vector<std::string> sentences = {"Good morning, everyone, and welcome to the course.",
                                              "Today we talk about travel.",
                                              "Please open your books, at page ten.",
                                              "Thank you.",
                                              "Where is the station?",
                                              "Go straight on, then turn left.",
                                              "Is it far from here?",
                                              "About ten minutes, on foot."};
  book_test::Pacing pacing;
  pacing.comma = 0.6;
  pacing.gaps = kGaps;
  pacing.voice = voice;
  pacing.rate = rate;
  const book_test::Spoken spoken = book_test::spokenLesson(sentences, pacing);
  return {spoken.samples, spoken.spans, sentences};
}

struct Tally {
  int edges = 0, within = 0, cutting = 0, neighbour = 0, stretches = 0;
  std::vector<double> distances;
};

bool measure(const std::string& tool, const std::string& name, const Lesson& lesson, Tally& tally) {
  const fs::path work = fs::temp_directory_path() / ("alignment-bench." + std::to_string(getpid()));
  fs::remove_all(work);
  std::string script = "Aligned\n";
  for (const auto& s : lesson.sentences) script += s + "\n";
  book_test::writeBytes(work / "lessons" / "x.txt", script);
  bookmaker::writeWav((work / "lessons" / "x.wav").string(), lesson.samples,
                      bookmaker::kSpeechRate);
  const book_test::ToolRun run = [&] {
    setenv("PARLENDA_MAKE_BOOK", tool.c_str(), 1);
    return book_test::makeBook(
        {(work / "lessons").string(), (work / "program").string(), "--title", "A"});
  }();
  if (run.code != 0) {
    std::printf("%-24s not aligned: %s", name.c_str(), run.err.c_str());
    fs::remove_all(work);
    return false;
  }
  const auto records = book_test::readLesson(work / "program" / "book" / "A" / "1.dat");
  for (std::size_t k = 0; k < records.size(); ++k) {
    const double start = lesson.truth[k].start - records[k].start,
                 end = records[k].end - lesson.truth[k].end;
    for (const double d : {start, end}) {
      ++tally.edges;
      tally.within += std::abs(d) <= 0.150;
      tally.distances.push_back(std::abs(d));
    }
    ++tally.stretches;
    tally.cutting += start < -0.001 || end < -0.001;
    tally.neighbour += (k + 1 < records.size() && records[k].end > lesson.truth[k + 1].start) ||
                       (k > 0 && records[k].start < lesson.truth[k - 1].end);
  }
  fs::remove_all(work);
  return true;
}

void print(const std::string& name, Tally t) {
  std::sort(t.distances.begin(), t.distances.end());
  const auto at = [&](double q) {
    return t.distances.empty() ? 0 : t.distances[std::size_t(q * double(t.distances.size() - 1))];
  };
  std::printf(
      "%-26s %3d edges  median %4.0f ms  95th %4.0f ms  max %4.0f ms  within 150 ms %5.1f %%  "
      "cutting %d  "
      "holding a neighbour %d (of %d stretches)\n",
      name.c_str(), t.edges, at(0.5) * 1000, at(0.95) * 1000, at(1.0) * 1000,
      100.0 * t.within / std::max(1, t.edges), t.cutting, t.neighbour, t.stretches);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_book_alignment PARLENDA_MAKE_BOOK\n");
    return 2;
  }
  Tally espeak;
  for (const auto& [voice, rate] : std::vector<std::pair<std::string, int>>{
           {"en-us", 130}, {"en-us", 175}, {"en", 150}, {"en-us+f3", 175}}) {
    Tally one;
    const std::string name = "espeak-ng " + voice + " " + std::to_string(rate);
    if (measure(argv[1], name, synthesised(voice, rate), one)) print(name, one);
    for (const double d : one.distances) espeak.distances.push_back(d);
    espeak.edges += one.edges, espeak.within += one.within, espeak.cutting += one.cutting,
        espeak.neighbour += one.neighbour, espeak.stretches += one.stretches;
  }
  print("espeak-ng, all", espeak);
  if (!fs::exists(kLibrivox + "0870.wav")) {
    std::printf("real speech: not measured (install pocketsphinx-testdata)\n");
    return 0;
  }
  Tally real;
  if (measure(argv[1], "real speech (LibriVox)", realReading(), real))
    print("real speech (LibriVox)", real);
  return 0;
}

// Every lesson's audio holds each sentence inside its record's stretch, and
// nothing but silence between the stretches.
#include <gtest/gtest.h>

#include <cmath>

#include "course_folder.h"
#include "speech_stretches.h"

namespace course {
namespace {

// Tone bursts standing in for sentences: [start, end) seconds each, with a
// 0.15 s pause inside the second, the rest digital silence.
std::vector<int16_t> burstsAt(const std::vector<Stretch>& bursts, double seconds) {
  std::vector<int16_t> samples(size_t(seconds * kCheckRate), 0);
  for (const auto& burst : bursts) {
    for (size_t i = size_t(burst.start * kCheckRate); i < size_t(burst.end * kCheckRate); ++i) {
      samples[i] = int16_t(8000 * std::sin(2 * M_PI * 220.0 * double(i) / kCheckRate));
    }
  }
  return samples;
}

TEST(StretchFaults, FindsStretchesThatDoNotHoldExactlyTheirSentence) {
  const auto audio = burstsAt({{0.5, 1.5}, {2.5, 3.0}, {3.15, 3.6}, {4.6, 5.4}}, 6.0);
  struct Case {
    const char* name;
    std::vector<Stretch> stretches;
    bool fits;
  };
  const Case cases[] = {
      {"margins inside the gaps", {{0.42, 1.58}, {2.42, 3.68}, {4.52, 5.48}}, true},
      {"start cuts the first word", {{0.6, 1.58}, {2.42, 3.68}, {4.52, 5.48}}, false},
      {"end cuts the last word", {{0.42, 1.58}, {2.42, 3.4}, {4.52, 5.48}}, false},
      {"a neighbour's speech inside", {{0.42, 3.68}, {4.52, 5.48}}, false},
      {"a sentence with no stretch", {{0.42, 1.58}, {4.52, 5.48}}, false},
      {"a stretch over silence", {{0.42, 1.58}, {1.7, 2.3}, {2.42, 3.68}, {4.52, 5.48}}, false},
      {"stretches out of order", {{2.42, 3.68}, {0.42, 1.58}, {4.52, 5.48}}, false},
      {"a stretch past the end", {{0.42, 1.58}, {2.42, 3.68}, {4.52, 6.5}}, false},
  };
  for (const auto& c : cases) {
    const auto faults = stretchFaults(audio, c.stretches);
    EXPECT_EQ(faults.empty(), c.fits) << c.name << (faults.empty() ? "" : ": " + faults.front());
  }
}

TEST(LessonAudio, EveryStretchHoldsItsSentenceAndTheGapsAreSilent) {
  for (const auto& book : bookTitles()) {
    auto titles = splitList(readText("\\SETTING\\BookList\\" + book + ".dat").value_or(""), '^');
    ASSERT_TRUE(titles) << book;
    for (size_t n = 1; n <= titles->size(); ++n) {
      const std::string lesson = book + " lesson " + std::to_string(n);
      const std::string audioPath =
          pathOf("\\Sound\\" + book + "\\" + std::to_string(n) + audioExtension(book));
      auto audio = decodeAudio(audioPath);
      ASSERT_TRUE(audio) << lesson << ": ffmpeg cannot decode " << audioPath;

      auto items = splitList(
          readText("\\book\\" + book + "\\" + std::to_string(n) + ".dat").value_or(""), '*');
      ASSERT_TRUE(items) << lesson;
      std::vector<Stretch> stretches;
      for (const auto& item : *items) {
        auto record = parseRecord(item);
        ASSERT_TRUE(record) << lesson << ": " << item;
        stretches.push_back({record->start, record->end});
      }
      for (const auto& fault : stretchFaults(*audio, stretches))
        ADD_FAILURE() << lesson << ", " << fault;
    }
  }
}

}  // namespace
}  // namespace course

// Syllables as spelled and the words spread over the model's sounding time.
#include "analysis/words.h"

#include <gtest/gtest.h>

namespace {

TEST(Words, SyllablesAsSpelled) {
  const struct {
    const char* word;
    int syllables;
  } cases[] = {{"I'm", 1},     {"tea,", 1},   {"make", 1},     {"window", 2},
               {"railway", 2}, {"little", 2}, {"station?", 2}, {"beautiful", 3},
               {"110", 3},     {"--", 0},     {"Yes!", 1},     {"the", 1},
               {"apple", 2},   {"closed", 1}, {"lived", 1},    {"wanted", 2}};
  for (const auto& c : cases) EXPECT_EQ(analysis::syllableCount(c.word), c.syllables) << c.word;
  EXPECT_EQ(analysis::sentenceWords("  Call 110 -- now! "),
            (std::vector<std::string>{"Call", "110", "now!"}));
}

TEST(Words, SpreadBySyllablesOverTheSoundingFramesWithCutsMovedIntoNearbyPauses) {
  // Frames 5-24 and 55-94 sound, a pause between: "Window" (2) "is" (1)
  // "closed" (1). Of the 60 sounding frames "Window" gets 30, which would end
  // it 10 frames into the second run; the pause is within reach, so it ends at
  // the pause. "is" / "closed" fall at frame 80, with no pause near.
  std::vector<float> levels(100, -90.0f);
  for (int k = 5; k < 25; ++k) levels[size_t(k)] = -20;
  for (int k = 55; k < 95; ++k) levels[size_t(k)] = -20;
  const auto words = analysis::spreadWords("Window is closed.", levels, {0, 100}, -45);
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[2].text, "closed.");
  const double half = analysis::kStep / 2;
  const struct { int first, last; } frames[] = {{5, 24}, {55, 79}, {80, 94}};
  for (size_t w = 0; w < 3; ++w) {
    EXPECT_NEAR(words[w].start, analysis::frameTime(frames[w].first) - half, 1e-9) << w;
    EXPECT_NEAR(words[w].end, analysis::frameTime(frames[w].last) + half, 1e-9) << w;
  }
  // Far from any pause the cut stays where the syllables put it.
  std::vector<float> steady(100, -20.0f);
  const auto even = analysis::spreadWords("one two", steady, {0, 100}, -45);
  ASSERT_EQ(even.size(), 2u);
  EXPECT_NEAR(even[1].start, analysis::frameTime(50) - half, 1e-9);
}

}  // namespace

// The map between model time and take time that moves the playback mark.
#include <gtest/gtest.h>

#include "analysis/take_analysis.h"

namespace {

TEST(TimeMap, InterpolatesBetweenFramesAndRunsAtTheSameSpeedOutsideThem) {
  // Model frames at 1.00, 1.01, 1.02, 1.03 s heard at take 2.00, 2.00, 2.02, 2.06 s.
  const analysis::TimeMap map(1.0, 0.01, {2.0, 2.0, 2.02, 2.06});
  const struct {
    double model, take;
  } cases[] = {
      {0.5, 1.5},     // before the speech: side by side
      {1.0, 2.0},     // first frame
      {1.025, 2.04},  // halfway between the last two frames
      {1.03, 2.06},   // last frame
      {1.1, 2.13},    // after the speech: side by side
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(map.takeTime(c.model), c.take, 1e-9) << c.model;
    EXPECT_NEAR(map.modelTime(c.take), c.model, 1e-9) << c.take;
  }
  // Where the take stood still, its time maps to the first model frame heard.
  EXPECT_NEAR(map.modelTime(2.0), 1.0, 1e-9);
  EXPECT_NEAR(map.modelTime(2.01), 1.015, 1e-9);
}

TEST(TimeMap, AnEmptyMapKeepsTimeAsItIs) {
  const analysis::TimeMap map;
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(map.takeTime(1.25), 1.25);
  EXPECT_EQ(map.modelTime(0.75), 0.75);
}

}  // namespace

// The YIN tracker itself, in Hz, on steady voiced tones across the voice range.
#include "analysis/pitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "speech_fixtures.h"

namespace {

TEST(Pitch, SteadyTonesAreFoundWithinAQuarterSemitoneAcrossTheVoiceRange) {
  for (double hz : {55.0, 80.0, 120.0, 210.0, 330.0, 480.0}) {
    SCOPED_TRACE(std::to_string(hz) + " Hz");
    const analysis::Sound tone = analysis_test::glide(hz, hz, 0.5, 0.1, 0.1, 16000);
    const auto levels = analysis::frameLevels(tone);
    const analysis::Span span = analysis::speechSpan(levels);
    const auto contour =
        analysis::pitchContour(analysis::excerptAtAnalysisRate(tone, 0, int(levels.size())), levels,
                               span, analysis::loudLevel(levels, span) - 30);
    // Frames wholly inside the tone (0.1 to 0.6 s) hold its pitch.
    int inside = 0, close = 0;
    for (size_t k = 0; k < contour.size(); ++k) {
      const double t = analysis::frameTime(span.first + int(k));
      if (t < 0.14 || t > 0.56) continue;
      ++inside;
      close += contour[k] > 0 && std::abs(12 * std::log2(contour[k] / hz)) < 0.25;
    }
    EXPECT_GT(inside, 35);
    EXPECT_EQ(close, inside);
  }
}

}  // namespace

#pragma once
// Dynamic time warping of the take's features onto the model's.
#include <vector>

namespace analysis {

struct Alignment {
  // For each model frame, the take frame heard with it (fractional, never
  // decreasing).
  std::vector<double> takeAtModel;
};

// `model` and `take` hold `size` values per frame; both must have frames.
Alignment alignFrames(const std::vector<float>& model, const std::vector<float>& take, int size);

}  // namespace analysis

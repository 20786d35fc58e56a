#include "analysis/alignment.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace analysis {

namespace {
constexpr int kSmoothReach = 5;  // 50 ms either side: irons out the path's stairs
// A step that holds one sound still while the other moves costs this much
// more (in feature distance; unrelated frames lie about 6 apart): without it
// the path of a different voice stalls on one frame for half a second.
constexpr float kStraightStep = 1.0f;
constexpr double kMostCells = 3e6;  // 12 MB of table: a 15 s sentence against a 20 s take

float distanceBetween(const float* a, const float* b, int size) {
  float sum = 0;
  for (int d = 0; d < size; ++d) sum += (a[d] - b[d]) * (a[d] - b[d]);
  return std::sqrt(sum);
}

// Symmetric steps: a diagonal step counts the local distance twice, so no
// path is cheaper for being short; straight steps pay kStraightStep more.
struct CostTable {
  const std::vector<float>& model;
  const std::vector<float>& take;
  int size, rows, cols;
  std::vector<float> total;
  float local(int i, int j) const {
    return distanceBetween(&model[size_t(i * size)], &take[size_t(j * size)], size);
  }
  float at(int i, int j) const {
    return i < 0 || j < 0 ? std::numeric_limits<float>::infinity() : total[size_t(i * cols + j)];
  }
};

CostTable fill(const std::vector<float>& model, const std::vector<float>& take, int size) {
  CostTable t{model, take, size, int(model.size()) / size, int(take.size()) / size, {}};
  t.total.resize(size_t(t.rows) * size_t(t.cols));
  for (int i = 0; i < t.rows; ++i) {
    for (int j = 0; j < t.cols; ++j) {
      const float d = t.local(i, j);
      const float best = std::min({t.at(i - 1, j) + d + kStraightStep,
                                   t.at(i, j - 1) + d + kStraightStep, t.at(i - 1, j - 1) + 2 * d});
      t.total[size_t(i * t.cols + j)] = i == 0 && j == 0 ? d : best;
    }
  }
  return t;
}

// The path back from the last cell: the take frames matched to each model frame.
std::vector<std::vector<int>> tracePath(const CostTable& t) {
  std::vector<std::vector<int>> matched(size_t(t.rows));
  int i = t.rows - 1, j = t.cols - 1;
  matched[size_t(i)].push_back(j);
  while (i > 0 || j > 0) {
    const float d = t.local(i, j);
    const float diagonal = t.at(i - 1, j - 1) + 2 * d, up = t.at(i - 1, j) + d + kStraightStep;
    const float left = t.at(i, j - 1) + d + kStraightStep;
    if (diagonal <= up && diagonal <= left) {
      --i, --j;
    } else if (up <= left) {
      --i;
    } else {
      --j;
    }
    matched[size_t(i)].push_back(j);
  }
  return matched;
}

// A moving mean: a never-decreasing path stays never-decreasing.
std::vector<double> smoothed(const std::vector<double>& values) {
  std::vector<double> out(values.size());
  for (size_t k = 0; k < values.size(); ++k) {
    const size_t from = k >= size_t(kSmoothReach) ? k - kSmoothReach : 0;
    const size_t to = std::min(values.size(), k + kSmoothReach + 1);
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += values[i];
    out[k] = sum / double(to - from);
  }
  return out;
}

// Every `factor`-th frame of `features`.
std::vector<float> everyNth(const std::vector<float>& features, int size, int factor) {
  std::vector<float> kept;
  for (size_t at = 0; at < features.size(); at += size_t(size * factor))
    kept.insert(kept.end(), features.begin() + long(at), features.begin() + long(at) + size);
  return kept;
}

// For each model frame, the mean take frame matched to it.
std::vector<double> meanPath(const std::vector<std::vector<int>>& matched) {
  std::vector<double> mean(matched.size());
  for (size_t i = 0; i < matched.size(); ++i) {
    double sum = 0;
    for (int j : matched[i]) sum += j;
    mean[i] = sum / double(matched[i].size());
  }
  return mean;
}
}  // namespace

Alignment alignFrames(const std::vector<float>& model, const std::vector<float>& take, int size) {
  const double rows = double(model.size()) / size, cols = double(take.size()) / size;
  // A long sentence and a long take are aligned on every factor-th frame, so
  // the table stays within kMostCells.
  const int factor = int(std::ceil(std::sqrt(rows * cols / kMostCells)));
  if (factor <= 1) return {smoothed(meanPath(tracePath(fill(model, take, size))))};

  const auto coarse =
      meanPath(tracePath(fill(everyNth(model, size, factor), everyNth(take, size, factor), size)));
  std::vector<double> path(static_cast<size_t>(rows));
  for (size_t i = 0; i < path.size(); ++i) {
    const double at = std::min(double(coarse.size() - 1), double(i) / factor);
    const size_t low = size_t(at), high = std::min(coarse.size() - 1, low + 1);
    const double f = at - double(low);
    path[i] = std::min(cols - 1, factor * (coarse[low] + f * (coarse[high] - coarse[low])));
  }
  return {smoothed(path)};
}

}  // namespace analysis

#include "studymodel/fsrs.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace studymodel {

namespace {

constexpr double kMinStability = 1e-3, kMaxStability = 36500;

// ts-fsrs rounds to 8 places at each step with JavaScript's Math.round (half
// up); the same rounding keeps the two schedules the same to the last digit.
double round8(double x) { return std::floor(x * 1e8 + 0.5) / 1e8; }
int roundHalfUp(double x) { return int(std::floor(x + 0.5)); }

}  // namespace

Grade gradeFromOutcome(int errors, int hints, int replays) {
  if (errors > 0 || hints > 0) return Grade::Again;
  return replays > 0 ? Grade::Hard : Grade::Good;
}

std::vector<double> fsrs6DefaultWeights() {
  return {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
          1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
}

std::vector<double> fsrs5DefaultWeights() {
  return {0.40255, 1.18385, 3.173, 15.69105, 7.1949, 0.5345, 1.4604, 0.0046,  1.54575, 0.1192,
          1.01925, 1.9395,  0.11,  0.29605,  2.2698, 0.2315, 2.9898, 0.51655, 0.6621};
}

Fsrs::Fsrs(std::vector<double> weights, double retention, int maximumInterval)
    : w_(std::move(weights)), maximumInterval_(maximumInterval) {
  if (w_.size() == 19) w_.insert(w_.end(), {0.0, 0.5});
  if (w_.size() != 21) throw std::invalid_argument("FSRS takes 19 or 21 weights");
  if (retention <= 0 || retention > 1) throw std::invalid_argument("retention outside (0, 1]");
  decay_ = -w_[20];
  factor_ = round8(std::exp(std::log(0.9) / decay_) - 1);
  intervalModifier_ = round8((std::pow(retention, 1 / decay_) - 1) / factor_);
}

double Fsrs::retrievability(double days, double stability) const {
  return round8(std::pow(1 + factor_ * days / stability, decay_));
}

double Fsrs::initDifficulty(Grade g) const {
  return round8(w_[4] - std::exp((int(g) - 1) * w_[5]) + 1);
}

// A grade moves difficulty less the nearer it is to 10, then it reverts a
// little toward an easy first grade's.
double Fsrs::nextDifficulty(double d, Grade g) const {
  const double delta = -w_[6] * (int(g) - 3);
  const double next = d + round8(delta * (10 - d) / 9);
  const double reverted = round8(w_[7] * initDifficulty(Grade::Easy) + (1 - w_[7]) * next);
  return std::clamp(reverted, 1.0, 10.0);
}

double Fsrs::recallStability(double d, double s, double r, Grade g) const {
  const double hard = g == Grade::Hard ? w_[15] : 1, easy = g == Grade::Easy ? w_[16] : 1;
  const double growth = std::exp(w_[8]) * (11 - d) * std::pow(s, -w_[9]) *
                        (std::exp((1 - r) * w_[10]) - 1) * hard * easy;
  return round8(std::clamp(s * (1 + growth), kMinStability, kMaxStability));
}

double Fsrs::forgetStability(double d, double s, double r) const {
  const double after =
      w_[11] * std::pow(d, -w_[12]) * (std::pow(s + 1, w_[13]) - 1) * std::exp((1 - r) * w_[14]);
  return round8(std::clamp(after, kMinStability, kMaxStability));
}

Fsrs::Memory Fsrs::nextMemory(const Card& card, Grade g, double recall) const {
  if (card.stability == 0 && card.difficulty == 0)
    return {std::max(w_[int(g) - 1], 0.1), std::clamp(initDifficulty(g), 1.0, 10.0)};
  const double d = card.difficulty, s = card.stability;
  double next;
  if (g == Grade::Again)
    next = std::clamp(round8(s), kMinStability, forgetStability(d, s, recall));
  else
    next = recallStability(d, s, recall, g);
  return {next, nextDifficulty(d, g)};
}

int Fsrs::interval(double stability) const {
  return std::min(std::max(1, roundHalfUp(stability * intervalModifier_)), maximumInterval_);
}

// The four grades' intervals are kept apart (again <= hard < good < easy) as
// ts-fsrs keeps them, so each grade is scheduled against the others'.
Card Fsrs::review(const Card& card, std::int64_t day, Grade grade) const {
  const double days = card.fresh() ? 0 : double(std::max<std::int64_t>(0, day - card.lastDay));
  const double recall = card.fresh() ? 0 : retrievability(days, card.stability);
  int intervals[4];
  Memory memories[4];
  for (int g = 1; g <= 4; ++g) {
    memories[g - 1] = nextMemory(card, Grade(g), recall);
    intervals[g - 1] = interval(memories[g - 1].stability);
  }
  intervals[0] = std::min(intervals[0], intervals[1]);
  intervals[1] = std::max(intervals[1], intervals[0] + 1);
  intervals[2] = std::max(intervals[2], intervals[1] + 1);
  intervals[3] = std::max(intervals[3], intervals[2] + 1);
  const int k = int(grade) - 1;
  Card next = card;
  next.stability = memories[k].stability;
  next.difficulty = memories[k].difficulty;
  next.reps = card.reps + 1;
  if (grade == Grade::Again && !card.fresh()) next.lapses = card.lapses + 1;
  next.lastDay = day;
  next.scheduledDays = intervals[k];
  next.dueDay = day + intervals[k];
  return next;
}

}  // namespace studymodel

#pragma once
// FSRS, the free spaced-repetition scheduler, as ts-fsrs computes it with its
// long-term scheduler (no same-day learning steps: a sentence comes back on a
// later day, never within minutes) and without fuzz, so one history gives one
// schedule. Days are whole day numbers (the learner's calendar day); the
// parameters are FSRS-6's defaults, and FSRS-5's 19 weights are taken as
// ts-fsrs takes them (a flat curve: w19 = 0, decay 0.5).
#include <cstdint>
#include <vector>

namespace studymodel {

enum class Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// What the dictation cost decides when the learner gives no grade: no error
// and no hint is good, a replay hard, an error or a hint again.
Grade gradeFromOutcome(int errors, int hints, int replays);

struct Card {
  double stability = 0, difficulty = 0;  // 0, 0: never reviewed
  int reps = 0, lapses = 0;
  std::int64_t lastDay = 0;  // the day of the last review (when reps > 0)
  std::int64_t dueDay = 0;
  int scheduledDays = 0;
  bool fresh() const { return reps == 0; }
};

std::vector<double> fsrs6DefaultWeights();  // ts-fsrs's default
std::vector<double> fsrs5DefaultWeights();

class Fsrs {
 public:
  explicit Fsrs(std::vector<double> weights = fsrs6DefaultWeights(), double retention = 0.9,
                int maximumInterval = 36500);
  // The card after a review on `day` graded `grade`.
  Card review(const Card& card, std::int64_t day, Grade grade) const;
  // The chance of recall after `days` at stability `stability`.
  double retrievability(double days, double stability) const;

 private:
  struct Memory {
    double stability, difficulty;
  };
  Memory nextMemory(const Card& card, Grade g, double recall) const;
  double initDifficulty(Grade g) const;
  double nextDifficulty(double d, Grade g) const;
  double recallStability(double d, double s, double r, Grade g) const;
  double forgetStability(double d, double s, double r) const;
  int interval(double stability) const;
  std::vector<double> w_;
  double decay_, factor_, intervalModifier_;
  int maximumInterval_;
};

}  // namespace studymodel

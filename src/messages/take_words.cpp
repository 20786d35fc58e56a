#include <cmath>

#include "messages/messages.h"

namespace messages {

namespace {
std::string percent(double value) { return std::to_string(int(std::lround(value))) + "%"; }
}  // namespace

std::string takeProblem(analysis::Outcome outcome) {
  switch (outcome) {
    case analysis::Outcome::Ready:
      return "";
    case analysis::Outcome::NoTake:
      return std::string(kNoTake);
    case analysis::Outcome::SilentTake:
      return std::string(kSilentTake);
    case analysis::Outcome::TakeTooLong:
      return std::string(kTakeTooLong);
    case analysis::Outcome::SilentModel:
      return std::string(kSilentModel);
  }
  return "";
}

std::string takeFigures(const analysis::Comparison& c) {
  if (c.outcome != analysis::Outcome::Ready) return takeProblem(c.outcome);
  return std::string(kIntonation) + percent(c.intonationMatch) + std::string(kRhythm) +
         percent(c.rhythmMatch) + std::string(kLength) + percent(100 * c.lengthRatio);
}

std::string takeDeparture(const analysis::Comparison& c) {
  const std::string word = c.departingWord();
  return word.empty() ? "" : std::string(kDepartsMost) + "“" + word + "”";
}

}  // namespace messages

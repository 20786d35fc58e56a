#include "playback/unplayable.h"

#include <cmath>

#include "app/numeric.h"
#include "messages/messages.h"

namespace playback {

namespace {

// A stretch that ends this little past the sound is whole.
constexpr double kSlack = 0.05;

// "3、7-9、12": runs of consecutive numbers joined.
std::string numberList(const std::vector<int>& numbers) {
  std::string out;
  for (size_t i = 0; i < numbers.size();) {
    size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (!out.empty()) out += "、";
    out += app::str(numbers[i]);
    if (j > i) out += "-" + app::str(numbers[j]);
    i = j + 1;
  }
  return out;
}

std::string reason(Unplayable why, double soundEnd) {
  switch (why) {
    case Unplayable::NoTimes:
      return std::string(messages::kNoTimes);
    case Unplayable::NotNumbers:
      return std::string(messages::kTimesNotNumbers);
    case Unplayable::Reversed:
      return std::string(messages::kTimesReversed);
    default:
      return messages::pastSoundEnd(app::shortest(std::floor(soundEnd * 10) / 10));
  }
}

}  // namespace

bool endsBefore(double soundEnd, double stretchEnd) { return soundEnd + kSlack < stretchEnd; }

Unplayable unplayable(const content::Record& r, double soundEnd) {
  switch (content::timesFault(r)) {
    case content::TimesFault::Missing:
      return Unplayable::NoTimes;
    case content::TimesFault::NotNumbers:
      return Unplayable::NotNumbers;
    case content::TimesFault::Reversed:
      return Unplayable::Reversed;
    case content::TimesFault::None:
      break;
  }
  if (soundEnd >= 0 && endsBefore(soundEnd, app::val(r.end))) return Unplayable::PastSoundEnd;
  return Unplayable::No;
}

std::string unplayableNotice(const std::vector<std::pair<int, Unplayable>>& sentences,
                             double soundEnd) {
  std::string text(messages::kSomeUnplayable);
  for (Unplayable why : {Unplayable::NoTimes, Unplayable::NotNumbers, Unplayable::Reversed,
                         Unplayable::PastSoundEnd}) {
    std::vector<int> numbers;
    for (const auto& [number, w] : sentences)
      if (w == why) numbers.push_back(number);
    if (!numbers.empty())
      text += messages::unplayableLine(numberList(numbers), reason(why, soundEnd));
  }
  return text;
}

std::vector<std::pair<int, Unplayable>> unplayableSentences(std::string_view lessonText,
                                                            double soundEnd) {
  std::vector<std::pair<int, Unplayable>> found;
  int number = 0;
  for (int from = content::findFrom(lessonText, '*', 1); from > 0;) {
    const int to = content::findFrom(lessonText, '*', from + 1);
    if (to == 0) break;
    ++number;
    const Unplayable why =
        unplayable(content::parseRecord(lessonText.substr(from, to - from - 1)), soundEnd);
    if (why != Unplayable::No) found.push_back({number, why});
    from = to;
  }
  return found;
}

}  // namespace playback

#pragma once
// Which sentences of a lesson cannot be played, and the notice that tells the
// learner why, once.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "content/lesson_text.h"

namespace playback {

enum class Unplayable { No, NoTimes, NotNumbers, Reversed, PastSoundEnd };

// Why the stretch of a record cannot be played; `soundEnd` is where the
// lesson's sound ends (negative while it is not known).
Unplayable unplayable(const content::Record& r, double soundEnd);

// A sound that ends at `soundEnd` ends before a stretch that ends at
// `stretchEnd`, beyond the rounding of the end guard.
bool endsBefore(double soundEnd, double stretchEnd);

// The sentences of a lesson text (1-based numbers, ascending) that cannot be
// played, with the reason.
std::vector<std::pair<int, Unplayable>> unplayableSentences(std::string_view lessonText,
                                                            double soundEnd);

// "本课有的句子无法朗读：" and a line per reason ("第3、7-9句：…"), for the
// sentences given with their reasons.
std::string unplayableNotice(const std::vector<std::pair<int, Unplayable>>& sentences,
                             double soundEnd);

}  // namespace playback

#pragma once
// The results text of a book: "^", then one entry per lesson, each a mark
// ("☆" not passed, "★" passed) and the lesson title, each followed by "^".
// Entries are cut as the score sheet lists them (splitCaretList), so a text
// without its final "^" or with line breaks after it changes the same entries
// that the learner sees.
#include <string>
#include <string_view>

namespace content {

inline constexpr std::string_view kNotPassed = "☆";
inline constexpr std::string_view kPassed = "★";

// Turns "☆" + title into "★" + title where that is a whole entry; a longer
// title that begins with this one keeps its mark.
std::string markPassed(std::string results, std::string_view title);
// Every entry that starts with "★" starts with "☆" instead; a star inside a
// title stays.
std::string clearMarks(std::string results);

}  // namespace content

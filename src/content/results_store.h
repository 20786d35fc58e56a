#pragma once
// The results text of a book: "^", then one entry per lesson, each a mark
// ("☆" not passed, "★" passed) and the lesson title, each followed by "^".
// Entries are cut as the score sheet lists them (splitCaretList), so a text
// without its final "^" or with line breaks after it changes the same entries
// that the learner sees.
#include <string>
#include <string_view>
#include <vector>

namespace content {

inline constexpr std::string_view kNotPassed = "☆";
inline constexpr std::string_view kPassed = "★";

// Turns the "☆" of the lesson's own entries into "★". The lesson's entry starts
// with "☆" + title and may go on with further text, but is not the entry of a
// longer title of the book (one of bookTitles) that begins the same way.
std::string markPassed(std::string results, std::string_view title,
                       const std::vector<std::string>& bookTitles);
// Every entry that starts with "★" starts with "☆" instead; a star inside a
// title stays.
std::string clearMarks(std::string results);

}  // namespace content

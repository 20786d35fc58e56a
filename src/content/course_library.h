#pragma once
// The course books: the built-in book list, the separator lists of the
// lesson-title and results files, and where a book's files lie.
#include <array>
#include <string>
#include <vector>

namespace content {

inline constexpr std::array<const char*, 15> kBookTitles = {
    "Book01", "Book02", "Book03",   "Book04", "Book05", "Book06", "Book07", "Book08",
    "Book09", "Book10", "Parlenda", "Book12", "Book13", "Book14", "Book15"};

// The items of a "^" list: the first character is skipped, then each item runs
// up to the next "^". A text whose final "^" is missing reads as if it were
// there (line breaks after the final "^" are dropped); an empty text has no
// items.
std::vector<std::string> splitCaretList(const std::string& text);

// A title names folders and files: it must stay inside the program folder
// (the rules shared with the book maker, rules/book_titles.h).
bool isSafeBookTitle(const std::string& title);

// Books Book04 and Book07 have wma audio, every other book mp3 (the same).
std::string audioExtension(const std::string& book);

}  // namespace content

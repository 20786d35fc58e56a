#pragma once
// The rules on book titles the program shares with the book maker; their data
// is src/rules/book_rules.json, which both read.
#include <string>

namespace rules {

// A title names the book's folders and files on any system the book goes to
// and is kept in the settings file in code page 936: it is not blank, has no
// spaces at its ends, does not end in ".", holds no "..", no control
// character and none of the forbidden characters, and has a code page 936 form.
bool isSafeBookTitle(const std::string& title);
// Why `title` cannot name a book, in words (the first fault found); empty when
// it can.
std::string titleFault(const std::string& title);

// The extension of the lesson recordings of book `title`: ".wma" for the
// books the rules name, ".mp3" for every other.
std::string audioExtension(const std::string& title);

}  // namespace rules

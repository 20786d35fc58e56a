#pragma once
// Numbers held as text: counts, scores, sentence numbers, repeat counts,
// pauses and the pass mark live in captions and boxes and are read this way.
#include <string>
#include <string_view>

namespace app {

// The decimal number at the start of a text (blanks, tabs and line feeds are
// skipped wherever they stand; an optional sign, digits, at most one "."), 0
// when the text does not start with one.
double val(std::string_view text);
// True when the text starts with a number as val reads it.
bool startsWithNumber(std::string_view text);
// A whole number as plain decimal digits, "-" when negative.
std::string str(long long n);
// The shortest decimal form of a number ("05" read gives "5", 1.5 "1.5").
std::string shortest(double x);
// Nearest integer, halves to even (as a conversion to integer rounds).
long long toInteger(double x);

}  // namespace app

#pragma once
// Numbers held as text: counts, scores, sentence numbers, repeat counts,
// pauses and the pass mark live in captions and boxes and are read this way.
#include <string>
#include <string_view>

namespace app {

// The decimal number at the start of a text (blanks, tabs and line feeds are
// skipped wherever they stand; an optional sign, digits, at most one "."), 0
// when the text does not start with one. A number beyond the range of double
// reads as the largest double of its sign, one too small for it as 0.
double val(std::string_view text);
// True when the text starts with a number as val reads it.
bool startsWithNumber(std::string_view text);
// A whole number as plain decimal digits, "-" when negative.
std::string str(long long n);
// The shortest decimal form of a number ("05" read gives "5", 1.5 "1.5"),
// always in plain digits, so that val reads it back as the same number.
std::string shortest(double x);
// Nearest integer, halves to even (as a conversion to integer rounds). A
// number beyond the range of the result gives the nearest end of the range,
// not a number gives 0: a number read from a file never overflows the cast.
long long toInteger(double x);
int toInt(double x);

}  // namespace app

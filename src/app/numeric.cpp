#include "app/numeric.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace app {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// from_chars leaves a number it cannot hold unread: one with a digit other
// than 0 before the point is too large (the largest double of its sign), any
// other is too small (0).
double outOfRange(std::string_view digits) {
  const bool negative = digits.front() == '-';
  const std::string_view whole = digits.substr(0, digits.find('.'));
  const bool large = whole.find_first_of("123456789") != std::string_view::npos;
  const double magnitude = large ? std::numeric_limits<double>::max() : 0.0;
  return negative ? -magnitude : magnitude;
}

// Reads the leading number; returns false when there is none.
bool leadingNumber(std::string_view t, double& out) {
  std::string digits;
  size_t i = 0;
  auto skip = [&] {
    while (i < t.size() && isBlank(t[i])) ++i;
  };
  skip();
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) digits += t[i++];
  bool any = false, point = false;
  for (;; ++i) {
    skip();
    if (i >= t.size()) break;
    char c = t[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      any = true;
    } else if (c == '.' && !point) {
      digits += c;
      point = true;
    } else {
      break;
    }
  }
  if (!any) return false;
  if (digits[0] == '+') digits.erase(0, 1);
  double v = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (r.ec == std::errc::result_out_of_range)
    v = outOfRange(digits);
  else if (r.ec != std::errc())
    return false;
  out = v;
  return true;
}
}  // namespace

double val(std::string_view text) {
  double v = 0;
  return leadingNumber(text, v) ? v : 0;
}

bool startsWithNumber(std::string_view text) {
  double v;
  return leadingNumber(text, v);
}

std::string str(long long n) { return std::to_string(n); }

// Fixed notation, never "1e+20": val reads no exponent. The longest such form
// (the smallest subnormal) is some 770 characters.
std::string shortest(double x) {
  if (!std::isfinite(x) || x == 0) return "0";  // -0 too
  std::array<char, 1100> buf;
  auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed);
  return std::string(buf.data(), r.ptr);
}

long long toInteger(double x) {
  if (std::isnan(x)) return 0;
  // -2^63 and 2^63 are exact as doubles; every rounded value between them fits.
  constexpr double kEnd = 9223372036854775808.0;
  const double rounded = std::nearbyint(x);
  if (rounded >= kEnd) return LLONG_MAX;
  if (rounded < -kEnd) return LLONG_MIN;
  return static_cast<long long>(rounded);
}

int toInt(double x) {
  return static_cast<int>(std::clamp<long long>(toInteger(x), INT_MIN, INT_MAX));
}

}  // namespace app

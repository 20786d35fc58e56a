#include "app/numeric.h"

#include <charconv>
#include <cmath>

namespace app {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

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
  if (r.ec != std::errc()) return false;
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

std::string shortest(double x) {
  if (x == std::floor(x) && std::fabs(x) < 1e15) return str((long long)x);
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

long long toInteger(double x) { return (long long)std::nearbyint(x); }

}  // namespace app

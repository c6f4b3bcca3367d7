#include "register/firmware_date.h"

#include <climits>
#include <string_view>

#include "register/register_texts.h"

namespace ejscope {
namespace {

// s[a..b] with positions counted from 1, shorter when s is shorter.
std::string part(const std::string& s, std::size_t a, std::size_t b) {
  if (a > s.size()) return {};
  return s.substr(a - 1, b - a + 1);
}

[[noreturn]] void fail(const std::string& date) {
  throw firmware_date_error(texts::bad_firmware_date() + "\"" + date + "\"");
}

// A whole text as a decimal integer: leading blanks, an optional sign, at
// least one digit and nothing after; anything else fails the conversion.
long long to_integer(const std::string& text, const std::string& date) {
  std::string_view v = text;
  while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
  bool negative = !v.empty() && v.front() == '-';
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
  if (v.empty()) fail(date);
  long long n = 0;
  for (char c : v) {
    if (c < '0' || c > '9' || n > INT_MAX) fail(date);
    n = n * 10 + (c - '0');
  }
  return negative ? -n : n;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string normalize_datecs_date(const std::string& s) {
  if (s.size() < 2) fail(s);
  if (is_digit(s[1])) return part(s, 3, 5) + " " + part(s, 1, 2) + " 20" + part(s, 6, 7);
  return part(s, 2, 4) + "  " + part(s, 1, 1) + " 20" + part(s, 5, 6);
}

bool firmware_date_is_new(const std::string& t) {
  if (t == "Dec  4 2015") return true;
  long long year = to_integer(part(t, 8, 11), t);
  if (year > 2015) return true;
  return year == 2015 && part(t, 1, 3) == "Dec" && to_integer(part(t, 5, 6), t) > 4;
}

}  // namespace ejscope

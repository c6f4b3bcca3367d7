#include "retrieval/period.h"

#include <cstdio>
#include <tuple>

namespace ejscope {

namespace {

// The integer in characters [from, from + 2) of text (1-based positions as
// in the field's mask); leading blanks are allowed, then one or two digits.
int two_digits(std::string_view text, std::size_t from, const char* what) {
  std::string_view part = from - 1 < text.size() ? text.substr(from - 1, 2) : std::string_view{};
  while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
  if (part.empty()) throw period_error(std::string("no number in the ") + what);
  int value = 0;
  for (char c : part) {
    if (c < '0' || c > '9') throw period_error(std::string("no number in the ") + what);
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string two_digit_text(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

}  // namespace

short_date short_date::read(std::string_view text) {
  short_date d;
  d.day = two_digits(text, 1, "day");
  d.month = two_digits(text, 4, "month");
  d.year = two_digits(text, 7, "year");
  return d;
}

std::string short_date::ddmmyy() const {
  return two_digit_text(day) + two_digit_text(month) + two_digit_text(year);
}

bool short_date::after(const short_date& other) const {
  return std::tie(year, month, day) > std::tie(other.year, other.month, other.day);
}

time_e time_e::read(std::string_view text) {
  time_e t;
  t.hours = two_digits(text, 1, "hours");
  t.minutes = two_digits(text, 4, "minutes");
  return t;
}

std::string time_e::hhmm() const { return two_digit_text(hours) + two_digit_text(minutes); }

period_texts initial_period(const std::tm& now) {
  const int year = (now.tm_year + 1900) % 100;
  const int month = now.tm_mon + 1;
  const int start_month = month == 1 ? 12 : month - 1;
  const int start_year = month == 1 ? (year + 99) % 100 : year;
  period_texts p;
  p.end_date = two_digit_text(now.tm_mday) + "." + two_digit_text(month) + "." + two_digit_text(year);
  p.start_date = "01." + two_digit_text(start_month) + "." + two_digit_text(start_year);
  p.start_time = "00:00";
  p.end_time = two_digit_text(now.tm_hour) + ":" + two_digit_text(now.tm_min);
  return p;
}

}  // namespace ejscope

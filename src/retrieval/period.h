#pragma once
// The date and time texts of the request by dates: the fields hold dd.mm.yy
// and hh:mm, the registers get ddmmyy and hhmm.
#include <ctime>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ejscope {

// A date or time field that does not hold a number where one is due (an
// empty or half-typed mask included).
class period_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Two-digit year, month and day, read from dd.mm.yy: day from characters
// 1-2, month from 4-5, year from 7-8.
struct short_date {
  int year = 0;
  int month = 0;
  int day = 0;

  static short_date read(std::string_view text);  // throws period_error
  std::string ddmmyy() const;
  // Compares (year, month, day) in that order.
  bool after(const short_date& other) const;
};

// Hours and minutes, read from hh:mm: hours from characters 1-2 (a leading
// blank allowed, " 9:05" is 9 hours), minutes from 4-5.
struct time_e {
  int hours = 0;
  int minutes = 0;

  static time_e read(std::string_view text);  // throws period_error
  std::string hhmm() const;
};

// The texts a new request window shows in its period fields.
struct period_texts {
  std::string start_date;  // day 01 of the month before the end date's
  std::string end_date;    // today, dd.mm.yy
  std::string start_time;  // "00:00"
  std::string end_time;    // the current time, hh:mm
};
period_texts initial_period(const std::tm& now);

}  // namespace ejscope

#pragma once
// The register's firmware date decides the retrieval mode: from 4 December
// 2015 on the register streams packets, before that it gives fragments.
#include <stdexcept>
#include <string>

namespace ejscope {

// A date text that cannot be converted (too short, year or day not a number).
class firmware_date_error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The Datecs form ("4Dec15", "15Dec15") into "Mmm dd yyyy" ("Dec  4 2015",
// "Dec 15 2015"); throws firmware_date_error for fewer than 2 characters.
std::string normalize_datecs_date(const std::string& s);

// True for dates of the form "Mmm dd yyyy" from "Dec  4 2015" on; throws
// firmware_date_error when the year (or, in December 2015, the day) is not
// a number.
bool firmware_date_is_new(const std::string& t);

}  // namespace ejscope

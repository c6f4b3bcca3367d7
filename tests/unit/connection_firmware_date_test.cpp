// The firmware date: the Datecs form normalised, and the choice of the
// packet exchange from 4 December 2015 on.
#include <gtest/gtest.h>

#include <string>

#include "register/firmware_date.h"

namespace ejscope {
namespace {

TEST(firmware_date, datecs_dates_normalised_and_judged) {
  struct {
    const char* datecs;
    const char* normalised;
    bool is_new;
  } cases[] = {
      {"4Dec15", "Dec  4 2015", true},   {"15Dec15", "Dec 15 2015", true},
      {"3Dec15", "Dec  3 2015", false},  {"12Nov15", "Nov 12 2015", false},
      {"1Jan16", "Jan  1 2016", true},   {"04Dec15", "Dec 04 2015", false},
      {"05Dec15", "Dec 05 2015", true},  {"31Dec14", "Dec 31 2014", false},
      {"15Jan16", "Jan 15 2016", true},  {"5Dec15", "Dec  5 2015", true},
  };
  for (const auto& c : cases) {
    std::string n = normalize_datecs_date(c.datecs);
    EXPECT_EQ(n, c.normalised) << c.datecs;
    EXPECT_EQ(firmware_date_is_new(n), c.is_new) << c.datecs;
  }
}

TEST(firmware_date, kelvora_dates_judged) {
  struct {
    const char* date;
    bool is_new;
  } cases[] = {
      {"Dec  5 2015", true}, {"Dec  4 2015", true},  {"Nov 30 2015", false}, {"Dec  3 2015", false},
      {"Jan  1 2016", true}, {"Dec 31 2014", false}, {"Jan 15 2016", true},  {"Feb 29 2020", true},
      {"Dec 04 2015", false}, {"dec  5 2015", false},
  };
  for (const auto& c : cases) EXPECT_EQ(firmware_date_is_new(c.date), c.is_new) << c.date;
}

TEST(firmware_date, short_texts_keep_to_the_text_there_is) {
  EXPECT_EQ(normalize_datecs_date("4D"), "D  4 20");
  EXPECT_EQ(normalize_datecs_date("15"), " 15 20");
  EXPECT_EQ(normalize_datecs_date("15Dec"), "Dec 15 20");
}

TEST(firmware_date, unconvertible_texts_raise) {
  for (const char* s : {"", "4"}) EXPECT_THROW(normalize_datecs_date(s), firmware_date_error) << s;
  for (const char* t : {"", "Dec  5", "Dec  5 20x5", "Dec xx 2015", "Dec  ", "Dec  5 -"}) {
    EXPECT_THROW(firmware_date_is_new(t), firmware_date_error) << '"' << t << '"';
  }
  // The day is converted only in December 2015.
  EXPECT_FALSE(firmware_date_is_new("Nov xx 2015"));
  EXPECT_TRUE(firmware_date_is_new("Jan xx 2016"));
}

}  // namespace
}  // namespace ejscope

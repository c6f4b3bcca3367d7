#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "retrieval/period.h"
#include "retrieval/progress.h"

namespace ejscope {
namespace {

TEST(RetrievalPeriod, DateTexts) {
  struct Case {
    const char* text;
    int year, month, day;
    const char* sent;
  } cases[] = {
      {"05.03.16", 16, 3, 5, "050316"},
      {"15.03.16", 16, 3, 15, "150316"},
      {"31.12.99", 99, 12, 31, "311299"},
      {"01.01.00", 0, 1, 1, "010100"},
  };
  for (const auto& c : cases) {
    const short_date d = short_date::read(c.text);
    EXPECT_EQ(d.year, c.year) << c.text;
    EXPECT_EQ(d.month, c.month) << c.text;
    EXPECT_EQ(d.day, c.day) << c.text;
    EXPECT_EQ(d.ddmmyy(), c.sent) << c.text;
  }
}

TEST(RetrievalPeriod, TimeTexts) {
  struct Case {
    const char* text;
    int hours, minutes;
    const char* sent;
  } cases[] = {{"10:00", 10, 0, "1000"}, {"09:00", 9, 0, "0900"}, {" 9:05", 9, 5, "0905"}, {"23:59", 23, 59, "2359"}};
  for (const auto& c : cases) {
    const time_e t = time_e::read(c.text);
    EXPECT_EQ(t.hours, c.hours) << c.text;
    EXPECT_EQ(t.minutes, c.minutes) << c.text;
    EXPECT_EQ(t.hhmm(), c.sent) << c.text;
  }
}

TEST(RetrievalPeriod, EmptyOrIncompleteFieldsAreErrors) {
  for (const char* text : {"", "  .  .  ", "05.03.", "05.03.1 ", "0a.03.16", "05. 3.1x", "05"})
    EXPECT_THROW(short_date::read(text), period_error) << '"' << text << '"';
  for (const char* text : {"", "  :  ", "10:", "10:5 ", "1x:00", "10"})
    EXPECT_THROW(time_e::read(text), period_error) << '"' << text << '"';
}

TEST(RetrievalPeriod, StartAfterEndComparesYearMonthDay) {
  struct Case {
    const char *start, *end;
    bool after;
  } cases[] = {{"15.03.16", "14.03.16", true},  {"01.03.16", "01.03.16", false},
               {"31.12.15", "01.01.16", false}, {"01.01.17", "31.12.16", true},
               {"01.04.16", "30.03.16", true},  {"30.03.16", "01.04.16", false}};
  for (const auto& c : cases)
    EXPECT_EQ(short_date::read(c.start).after(short_date::read(c.end)), c.after) << c.start << " " << c.end;
}

TEST(RetrievalPeriod, InitialFields) {
  struct Case {
    int year, month, day, hour, minute;
    const char *start, *end, *end_time;
  } cases[] = {
      {2017, 1, 10, 9, 5, "01.12.16", "10.01.17", "09:05"},
      {2016, 3, 31, 14, 30, "01.02.16", "31.03.16", "14:30"},
      {2000, 1, 1, 0, 0, "01.12.99", "01.01.00", "00:00"},
  };
  for (const auto& c : cases) {
    std::tm now{};
    now.tm_year = c.year - 1900;
    now.tm_mon = c.month - 1;
    now.tm_mday = c.day;
    now.tm_hour = c.hour;
    now.tm_min = c.minute;
    const period_texts p = initial_period(now);
    EXPECT_EQ(p.start_date, c.start);
    EXPECT_EQ(p.end_date, c.end);
    EXPECT_EQ(p.start_time, "00:00");
    EXPECT_EQ(p.end_time, c.end_time);
  }
}

TEST(RetrievalProgress, Texts) {
  struct Case {
    long long number, first, last;
    const char* text;
  } cases[] = {
      {12, 1, 33, "33.33%     12"},
      {1, 1, 1, "0.00%     1"},
      {10, 1, 10, "90.00%     10"},
      {2, 1, 8, "12.50%     2"},
      {5, 5, 8, "0.00%     5"},
      {0, 5, 8, "-125.00%     0"},
      {2147483647, 1, 1, "2.1474836E+11%     2147483647"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(progress_text(progress_percent(c.number, c.first, c.last), c.number), c.text) << c.number;
}

}  // namespace
}  // namespace ejscope

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tape/documents.h"
#include "tape/value_conversion.h"

using namespace ejscope;

TEST(DocumentModel, CreatingAccessGivesDefaults) {
  rq store;
  EXPECT_EQ(store.doc_index, 0);
  dat& d = store.dats[7];
  EXPECT_TRUE(d.is_check);
  EXPECT_EQ(d.check_slot, 0);
  check& c = d.checks[0];
  EXPECT_EQ(c.line_no, 1);
  EXPECT_EQ(total_lines(c), 0);
  EXPECT_TRUE(c.line_order.empty());
  EXPECT_EQ(c.end.TX, "0");
  EXPECT_EQ(c.end.TS, "0");
  EXPECT_EQ(c.end.FN, "0");
  EXPECT_EQ(c.end.tx_lines[0].TX, " ");
  const zvit& z = d.zvits[0];
  EXPECT_FALSE(z.has_txs || z.has_z_m || z.has_io || z.has_nc);
  EXPECT_EQ(z.txs_count + z.z_m_count + z.io_count + z.nc_count, 0);
}

TEST(DocumentModel, NoteNumbersKeepsTheRange) {
  struct Case {
    std::vector<int> numbers;
    int min, max;
  } cases[] = {
      {{}, 0, 0},          {{7}, 7, 7},        {{5, 3, 9}, 3, 9},  {{9, 5, 3}, 3, 9},
      {{0, 4}, 4, 4},      {{4, 0}, 0, 4},     {{4, 4}, 4, 4},     {{2, 8, 5}, 2, 8},
  };
  for (const auto& c : cases) {
    rq checks, zs;
    for (int n : c.numbers) {
      checks.note_check_number(n);
      zs.note_z_number(n);
    }
    EXPECT_EQ(checks.check_no_min, c.min);
    EXPECT_EQ(checks.check_no_max, c.max);
    EXPECT_EQ(zs.z_no_min, c.min);
    EXPECT_EQ(zs.z_no_max, c.max);
    EXPECT_EQ(checks.z_no_min + checks.z_no_max + zs.check_no_min + zs.check_no_max, 0);
  }
}

TEST(DocumentModel, ClearKeepsRangesAndVersion) {
  rq store;
  store.V = 1;
  store.loaded = 1;
  store.note_check_number(15);
  store.note_z_number(3);
  store.dats[0].FN = "x";
  store.macs[1].DI = 2;
  store.doc_index = 4;
  store.clear();
  EXPECT_EQ(store.doc_index, 0);
  EXPECT_TRUE(store.dats.empty());
  EXPECT_TRUE(store.macs.empty());
  EXPECT_EQ(store.check_no_min, 15);
  EXPECT_EQ(store.z_no_max, 3);
  EXPECT_EQ(store.V, 1);
  EXPECT_EQ(store.loaded, 1);
}

TEST(DocumentModel, RecordLineReplacesAndTotalLinesSums) {
  check c;
  record_line(c, 1, line_kinds::P, 0);
  record_line(c, 2, line_kinds::M, 0);
  record_line(c, 1, line_kinds::S, 3);
  EXPECT_EQ(c.line_order.size(), 2u);
  EXPECT_EQ(c.line_order[1], (line_ref{line_kinds::S, 3}));
  EXPECT_EQ(c.line_order[2], (line_ref{line_kinds::M, 0}));
  int* counters[] = {&c.p_count, &c.cp_count, &c.d_count, &c.s_count, &c.m_count, &c.i_count,
                     &c.o_count, &c.l_count,  &c.h_count, &c.vd_count, &c.e_count};
  int expected = 0;
  for (int k = 0; k < 11; ++k) {
    *counters[k] = k + 1;
    expected += k + 1;
  }
  EXPECT_EQ(total_lines(c), expected);
}

TEST(DocumentModel, CopiesAreDeep) {
  dat original;
  original.receipt().p_lines[0].NM = "Хліб";
  original.receipt().end.tx_lines[0].TXPR = 20;
  dat copy = original;
  copy.receipt().p_lines[0].NM = "Сіль";
  copy.receipt().end.tx_lines[0].TXPR = 7;
  EXPECT_EQ(original.receipt().p_lines[0].NM, "Хліб");
  EXPECT_EQ(original.receipt().end.tx_lines[0].TXPR, 20);
}

TEST(DocumentModel, TruncateNumberSaturates) {
  struct Case {
    float value;
    int expected;
  } cases[] = {
      {15.9f, 15},
      {-15.9f, -15},
      {0.5f, 0},
      {16777216.f, 16777216},
      {1e30f, std::numeric_limits<int>::max()},
      {-1e30f, std::numeric_limits<int>::min()},
      {2147483648.f, std::numeric_limits<int>::max()},
      {std::numeric_limits<float>::infinity(), std::numeric_limits<int>::max()},
      {std::nanf(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(truncate_number(c.value), c.expected) << c.value;
}

TEST(ValueConversion, Numbers) {
  struct Case {
    const char* text;
    std::optional<float> expected;
  } cases[] = {
      {"1250", 1250.f},    {"12.5", 12.5f},     {" 7 ", 7.f},          {"+3", 3.f},
      {"-0.25", -0.25f},   {"1e3", 1000.f},     {"2.5E-1", 0.25f},     {".5", 0.5f},
      {"5.", 5.f},         {"16777217", 16777216.f}, {"16777219", 16777220.f},
      {"0.1", 0.1f},       {"1e-50", 0.f},      {"", std::nullopt},    {"  ", std::nullopt},
      {"abc", std::nullopt}, {"1,5", std::nullopt}, {"1.5.2", std::nullopt}, {"inf", std::nullopt},
      {"nan", std::nullopt}, {"-inf", std::nullopt}, {"1e50", std::nullopt}, {"0x10", std::nullopt},
      {"+-1", std::nullopt}, {"--1", std::nullopt}, {"1e", std::nullopt},   {"e5", std::nullopt},
      {"\t1", std::nullopt}, {"1 2", std::nullopt}, {"-", std::nullopt},    {".", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(to_number(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ValueConversion, WholeAndShortNumbers) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> whole;
    std::optional<std::int16_t> short_whole;
  } cases[] = {
      {"15", 15, 15},
      {" -3 ", -3, -3},
      {"+8", 8, 8},
      {"70000", 70000, 4464},
      {"40000", 40000, -25536},
      {"65536", 65536, 0},
      {"2147483647", 2147483647, -1},
      {"-2147483648", std::numeric_limits<std::int32_t>::min(), 0},
      {"2147483648", std::nullopt, std::nullopt},
      {"x1", std::nullopt, std::nullopt},
      {"1x", std::nullopt, std::nullopt},
      {"1.0", std::nullopt, std::nullopt},
      {"abc", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
      {"$1F", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(to_int(c.text), c.whole) << c.text;
    EXPECT_EQ(to_short(c.text), c.short_whole) << c.text;
  }
}

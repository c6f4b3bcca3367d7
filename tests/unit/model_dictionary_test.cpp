#include <gtest/gtest.h>

#include <string>

#include "tape/tag_dictionary.h"

using ejscope::typ_work;
namespace codes = ejscope::tag_codes;

TEST(TagDictionary, ElementCodes) {
  const typ_work dictionary;
  const char* names[] = {"RQ", "DAT", "MAC", "C", "Z", "TS", "P", "CP", "D", "S", "M",
                         "I",  "O",   "L",   "H", "VD", "E", "TXS", "Z_M", "IO", "NC", "TX"};
  ASSERT_EQ(dictionary.tags().size(), std::size(names));
  for (int code = 0; code < static_cast<int>(std::size(names)); ++code) {
    EXPECT_EQ(dictionary.element_code(names[code], codes::RQ), code) << names[code];
    EXPECT_EQ(dictionary.find_element(names[code], codes::RQ), code) << names[code];
    EXPECT_TRUE(dictionary.knows_element(names[code], codes::RQ)) << names[code];
  }
}

TEST(TagDictionary, MInsideAZReportIsZM) {
  const typ_work dictionary;
  struct Case {
    int current;
    int expected;
  } cases[] = {
      {codes::Z, codes::Z_M},   {codes::TXS, codes::Z_M}, {codes::Z_M, codes::Z_M},
      {codes::IO, codes::Z_M},  {codes::NC, codes::Z_M},  {codes::P, codes::M},
      {codes::C, codes::M},     {codes::E, codes::M},     {codes::RQ, codes::M},
      {codes::TX, codes::M},    {codes::M, codes::M},     {codes::DAT, codes::M},
  };
  for (const auto& c : cases) EXPECT_EQ(dictionary.element_code("M", c.current), c.expected) << c.current;
}

TEST(TagDictionary, UnknownNamesGiveZeroAndAreNotKnown) {
  const typ_work dictionary;
  for (const char* name : {"rq", "Dat", "MA", "MACX", "", "#comment", "ZM"}) {
    EXPECT_EQ(dictionary.element_code(name, codes::DAT), 0) << name;
    EXPECT_FALSE(dictionary.knows_element(name, codes::DAT)) << name;
    EXPECT_EQ(dictionary.find_element(name, codes::DAT), std::nullopt) << name;
  }
  // Asking twice changes nothing, and known names still work.
  EXPECT_EQ(dictionary.element_code("XYZ", 0), 0);
  EXPECT_EQ(dictionary.element_code("XYZ", 0), 0);
  EXPECT_EQ(dictionary.tags().size(), 22u);
  EXPECT_EQ(dictionary.element_code("NC", 0), codes::NC);
}

TEST(TagDictionary, AttributeCodesByElement) {
  const typ_work dictionary;
  struct Case {
    int element;
    const char* name;
    int code;
    bool known;
  } cases[] = {
      {codes::RQ, "V", 0, true},        {codes::DAT, "FN", 0, true},     {codes::DAT, "DI", 3, true},
      {codes::DAT, "V", 5, true},       {codes::MAC, "NT", 1, true},     {codes::C, "ON", 2, true},
      {codes::P, "TX", 7, true},        {codes::CP, "PRC", 6, true},     {codes::D, "N", 7, true},
      {codes::S, "TR", 0, true},        {codes::M, "RRN", 5, true},      {codes::I, "SM", 3, true},
      {codes::O, "T", 1, true},         {codes::L, "N", 0, true},        {codes::H, "HP", 2, true},
      {codes::H, "HT", 3, true},        {codes::VD, "NI", 1, true},      {codes::E, "NS", 15, true},
      {codes::E, "TS", 13, true},       {codes::TS, "TS", 0, true},      {codes::Z, "NO", 0, true},
      {codes::TXS, "SMO", 11, true},    {codes::Z_M, "SMI", 2, true},    {codes::IO, "SMT", 4, true},
      {codes::NC, "NO", 1, true},       {codes::TX, "TXAL", 6, true},
      // Missing names fall back to the first entry's code.
      {codes::P, "PAYSYS", 0, false},   {codes::E, "XX", 0, false},      {codes::DAT, "X", 0, false},
      {codes::TXS, "N", 0, false},      {codes::TX, "N", 0, false},      {codes::D, "Q", 0, false},
      {codes::S, "q", 0, false},        {codes::L, "text", 0, false},    {codes::H, "N ", 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dictionary.attribute_code(c.element, c.name), c.code) << c.element << " " << c.name;
    EXPECT_EQ(dictionary.knows_attribute(c.element, c.name), c.known) << c.element << " " << c.name;
    EXPECT_EQ(dictionary.find_attribute(c.element, c.name), c.known ? std::optional<int>(c.code) : std::nullopt)
        << c.element << " " << c.name;
  }
}

TEST(TagDictionary, TablesServeTheirElements) {
  const typ_work d;
  struct Case {
    int element;
    const ejscope::name_table& table;
    std::size_t size;
  } cases[] = {
      {codes::RQ, d.attr_rq(), 1},          {codes::DAT, d.attr_dat(), 6},  {codes::MAC, d.attr_mac(), 2},
      {codes::C, d.attr_c(), 3},            {codes::Z, d.attr_z(), 1},      {codes::TS, d.attr_ts(), 1},
      {codes::P, d.attr_sale(), 8},         {codes::CP, d.attr_sale(), 8},  {codes::D, d.attr_up_down(), 8},
      {codes::S, d.attr_up_down(), 8},      {codes::M, d.attr_pay(), 6},    {codes::I, d.attr_in_out(), 4},
      {codes::O, d.attr_in_out(), 4},       {codes::L, d.attr_comment(), 1}, {codes::H, d.attr_serv_info(), 3},
      {codes::VD, d.attr_cancel(), 2},      {codes::E, d.attr_end(), 16},   {codes::TXS, d.attr_txs(), 12},
      {codes::Z_M, d.attr_z_m(), 4},        {codes::IO, d.attr_io(), 5},    {codes::NC, d.attr_nc(), 2},
      {codes::TX, d.attr_tx(), 7},          {99, d.attr_rq(), 1},           {-1, d.attr_rq(), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(&d.attribute_table(c.element), &c.table) << c.element;
    EXPECT_EQ(c.table.size(), c.size) << c.element;
  }
  // No name has code 1 in the tables of L and H: code 1 is their element text.
  for (const auto* table : {&d.attr_comment(), &d.attr_serv_info()})
    for (const auto& [name, code] : *table) EXPECT_NE(code, 1) << name;
}

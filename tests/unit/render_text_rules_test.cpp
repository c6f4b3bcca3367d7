// Column placement, tax letters, integer texts, date texts and the rule line.
#include <gtest/gtest.h>

#include "render/render_error.h"
#include "render/text_rules.h"
#include "render_support.h"

namespace ejscope {
namespace {

using render_testing::w;

struct overlay_case {
  std::string line;
  std::string value;
  column_kind kind;
  std::string expected;
};

TEST(RenderOverlayField, PlacesValuesAtTheColumnsOfTheirKind) {
  const std::string pad35(35, ' ');
  const std::vector<overlay_case> cases = {
      // A short line gets 35 blanks first: "  Сума" + 35 = 41 characters, 12.50 in columns 33-37.
      {w("  Сума"), "12.50", column_kind::right_amount, w("  Сума") + std::string(26, ' ') + "12.50" + "    "},
      {"", "ab", column_kind::tax_rate, std::string(28, ' ') + "ab" + std::string(5, ' ')},
      {"  000000000", "1234567", column_kind::receipt_number, "  001234567" + pad35},
      {"", "9.99", column_kind::left_amount, std::string(20, ' ') + "9.99" + std::string(11, ' ')},
      {"ab", "x", column_kind::unit_price, "ab" + std::string(33, ' ') + "x "},
      {" 00000", "42", column_kind::shift_counter, " 000042" + std::string(34, ' ')},
      {" 00000", "-5", column_kind::shift_counter, " 0000-5" + std::string(34, ' ')},
      // Kind 7 copies the first seven characters over columns 12 to 18.
      {"  000000000", " 000042xyz", column_kind::footer_field, "  000000000 000042" + std::string(28, ' ')},
      // A line of 38 characters or more is not padded; what lies right of the value stays.
      {std::string(40, 'n'), "VAL", column_kind::right_amount, std::string(34, 'n') + "VAL" + "nnn"},
      // An empty value changes nothing but the padding.
      {"ab", "", column_kind::right_amount, "ab" + pad35},
      // A value exactly as long as its end column starts at column 1.
      {"ab", std::string(37, 'v'), column_kind::right_amount, std::string(37, 'v')},
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    overlay_field(line, c.value, c.kind);
    EXPECT_EQ(line, c.expected) << "value '" << c.value << "' kind " << static_cast<int>(c.kind);
  }
}

TEST(RenderOverlayField, RaisesRangeCheckErrorOutsideTheLine) {
  struct failing {
    std::string line;
    std::string value;
    column_kind kind;
  };
  const std::vector<failing> cases = {
      {"", std::string(38, 'v'), column_kind::right_amount},  // would start left of column 1
      {"", std::string(12, 'v'), column_kind::receipt_number},
      {"", "12.50", column_kind::right_amount},                // 35 characters: column 37 is past the end
      {"a", "1", column_kind::right_amount},                   // 36 characters
      {"  000000000", " 00004", column_kind::footer_field},    // shorter than seven characters
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    try {
      overlay_field(line, c.value, c.kind);
      ADD_FAILURE() << "no error for value of " << c.value.size() << " characters";
    } catch (const render_error& error) {
      EXPECT_STREQ(error.what(), "Range check error");
    }
  }
  std::string fits = "ab";  // 37 characters after padding: column 37 is the last one
  EXPECT_NO_THROW(overlay_field(fits, "1", column_kind::right_amount));
}

TEST(RenderTaxLetter, GivesTheLetterOfEveryIndex) {
  const std::vector<std::pair<long long, std::string>> cases = {
      {0, " "}, {1, "A"}, {2, w("Б")}, {3, w("В")}, {4, w("Г")}, {5, w("Д")}, {6, "*"},
      {7, w("Много параметров")}, {-1, w("Много параметров")}, {1LL << 40, w("Много параметров")},
  };
  for (const auto& [index, letter] : cases) EXPECT_EQ(tax_letter(index), letter) << index;
  // The letter of index 1 is the Latin capital A (41h), not the Cyrillic one (C0h).
  EXPECT_EQ(tax_letter(1), std::string("\x41"));
}

TEST(RenderIntegerValue, ReadsDecimalTextsAndNamesTheOthers) {
  const std::vector<std::pair<std::string, int>> good = {
      {"0", 0}, {"1", 1}, {"+5", 5}, {"-12", -12}, {"007", 7}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(integer_value(text), value) << text;
  const std::vector<std::string> bad = {"", " ", " 1", "1 ", "x1", "1.0", "+-1", "--1", "2147483648", "0x10", "+"};
  for (const auto& text : bad) {
    try {
      integer_value(text);
      ADD_FAILURE() << "'" << text << "' was read";
    } catch (const render_error& error) {
      EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
    }
  }
}

TEST(RenderDateText, TakesDayMonthYearAndTimeFromTheDigits) {
  const std::vector<std::tuple<std::string, bool, std::string>> cases = {
      {"20160331143005", true, "31.03.2016  14:30"},
      {"20160331143005", false, "31.03.2016  "},
      {"2016033114", true, "31.03.2016  14:"},
      {"201603", true, ".03.2016  :"},
      {"", true, "..  :"},
      {"", false, "..  "},
  };
  for (const auto& [ts, with_time, expected] : cases) EXPECT_EQ(date_text(ts, with_time), expected) << ts;
  EXPECT_EQ(date_text("20160331143005", true).size(), 17u);
}

TEST(RenderRuleLine, IsTwoBlanksAndThirtyEightDashes) {
  EXPECT_EQ(rule_line(), "  " + std::string(38, '-'));
  EXPECT_EQ(rule_line().size(), 40u);
}

}  // namespace
}  // namespace ejscope

// Number texts: rounding to the stated decimals with halves away from zero,
// at most 9 significant digits, extended-precision scaling and the float
// rounding of the receipt amounts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "render/number_text.h"

namespace ejscope {
namespace {

struct fixed_case {
  long double value;
  int decimals;
  const char* expected;
};

TEST(RenderNumberText, RoundsToTheStatedDecimalsWithHalvesAwayFromZero) {
  const std::vector<fixed_case> cases = {
      {12.5L, 2, "12.50"},       {0, 2, "0.00"},           {-0.0L, 2, "0.00"},
      {0.125L, 2, "0.13"},       {-0.125L, 2, "-0.13"},    {0.375L, 2, "0.38"},
      {2.5L, 0, "3"},            {-2.5L, 0, "-3"},         {0.5L, 0, "1"},
      {1.5L, 0, "2"},            {0.4375L, 0, "0"},        {0.0625L, 3, "0.063"},
      {2, 3, "2.000"},           {0.999L, 2, "1.00"},      {-0.001L, 2, "0.00"},
      {0.0049L, 2, "0.00"},      {1e-30L, 2, "0.00"},      {99.995L, 0, "100"},
  };
  for (const auto& c : cases) EXPECT_EQ(fixed_text(c.value, c.decimals), c.expected) << static_cast<double>(c.value);
}

TEST(RenderNumberText, KeepsAtMostNineSignificantDigits) {
  const std::vector<fixed_case> cases = {
      {123456789.0L, 2, "123456789.00"},
      {12345678.91L, 2, "12345678.90"},
      {12345678.96L, 2, "12345679.00"},
      {1234567.891L, 2, "1234567.89"},
      {1234567891.0L, 0, "1234567890"},
      {1234567895.0L, 0, "1234567900"},  // a tie at the tenth digit goes away from zero
      {-1234567895.0L, 0, "-1234567900"},
      {999999999.5L, 0, "1000000000"},
      {1e20L, 0, "100000000000000000000"},
      {std::numeric_limits<float>::max(), 0, "340282347000000000000000000000000000000"},
      {std::numeric_limits<float>::max() * 0.01L, 2, "3402823470000000000000000000000000000.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(fixed_text(c.value, c.decimals), c.expected) << static_cast<double>(c.value);
}

TEST(RenderNumberText, WritesValuesThatAreNotFinite) {
  EXPECT_EQ(fixed_text(std::numeric_limits<long double>::infinity(), 2), "INF");
  EXPECT_EQ(fixed_text(-std::numeric_limits<long double>::infinity(), 2), "-INF");
  EXPECT_EQ(fixed_text(std::numeric_limits<long double>::quiet_NaN(), 2), "NAN");
  EXPECT_EQ(amount_text(std::numeric_limits<float>::infinity()), "INF");
}

TEST(RenderNumberText, GeneralTextDropsTrailingZeros) {
  const std::vector<std::pair<long double, const char*>> cases = {
      {1234567, "1234567"}, {15, "15"},   {12.5L, "12.5"},   {0, "0"},
      {-3, "-3"},           {0.1f, "0.100000001"},            {16777217.0f, "16777216"},
      {1e10L, "10000000000"}, {-0.0L, "0"}, {1e-12L, "0"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(general_text(value), expected) << static_cast<double>(value);
}

TEST(RenderNumberText, ScalesHundredthsThousandthsAndRates) {
  EXPECT_EQ(amount_text(1250), "12.50");
  EXPECT_EQ(amount_text(0), "0.00");
  EXPECT_EQ(amount_text(1), "0.01");
  EXPECT_EQ(amount_text(-1250), "-12.50");
  EXPECT_EQ(amount_text(124990000), "1249900.00");
  EXPECT_EQ(rate_text(20), "20.00");
  EXPECT_EQ(rate_text(0.125f), "0.13");
  EXPECT_EQ(quantity_text(2000, 3), "2.000");
  EXPECT_EQ(quantity_text(2000, 0), "2");
  EXPECT_EQ(quantity_text(455, 3), "0.455");
  EXPECT_EQ(quantity_text(2500, 0), "3");  // 2.5 as a float: the half goes away from zero
  EXPECT_EQ(quantity_text(1500, 0), "2");
  EXPECT_EQ(whole_text(15), "15");
  EXPECT_EQ(whole_text(-2.5f), "-3");
}

TEST(RenderNumberText, ReceiptAmountsAreRoundedToFloatsFromTwoToTheSeventeenth) {
  // 131072.01 has no 32-bit float: the nearest is 131072.015625.
  EXPECT_EQ(amount_text(13107201), "131072.02");
  EXPECT_EQ(amount_text_extended(13107201), "131072.01");
  // Below 131072.00 both ways agree.
  for (float x : {13107199.0f, 1234567.0f, 99.0f, 5.0f}) EXPECT_EQ(amount_text(x), amount_text_extended(x)) << x;
  // A difference of two floats is taken in extended precision.
  EXPECT_EQ(amount_text_extended(static_cast<long double>(16777216.0f) - 1.0f), "167772.15");
}

// The digits of a float from the C library's exact expansion, rounded by
// hand: an independent way to the same text for values below 10^6.
std::string expected_from_expansion(float value, int decimals) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, "%.60Lf", static_cast<long double>(std::fabs(value)));
  std::string text = buffer;
  const auto point = text.find('.');
  std::string digits = text.substr(0, point) + text.substr(point + 1, static_cast<std::size_t>(decimals));
  const bool up = text[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
  if (up) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[i - 1];
    }
  }
  std::string whole = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  std::string out = whole;
  if (decimals > 0) out += "." + digits.substr(digits.size() - static_cast<std::size_t>(decimals));
  const bool zero = out.find_first_not_of("0.") == std::string::npos;
  return (value < 0 && !zero ? "-" : "") + out;
}

TEST(RenderNumberText, AgreesWithTheExactExpansionOfFloats) {
  std::mt19937 random(20240115);
  std::uniform_real_distribution<float> magnitude(-3.0f, 5.9f);
  for (int i = 0; i < 20000; ++i) {
    float value = std::pow(10.0f, magnitude(random)) * (i % 2 == 0 ? 1.0f : -1.0f);
    for (int decimals : {0, 2, 3}) {
      ASSERT_EQ(fixed_text(value, decimals), expected_from_expansion(value, decimals))
          << std::hexfloat << value << " with " << decimals;
    }
  }
}

}  // namespace
}  // namespace ejscope

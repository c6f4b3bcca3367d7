#include "render/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ejscope {
namespace {

__extension__ typedef unsigned __int128 uint128;

constexpr int max_significant = 9;
constexpr int max_decimals = 9;

// The decimal digits of |value| exactly as far as they are needed: every
// digit of the integer part ("" for 0) and the first `count` digits of the
// fraction. value = mantissa × 2^shift with a 64-bit mantissa, so the
// fraction is a binary fraction whose digits come out exactly by
// multiplying by 10.
void exact_digits(long double magnitude, int count, std::string& integer, std::string& fraction) {
  integer.clear();
  fraction.assign(static_cast<std::size_t>(count), '0');
  if (magnitude == 0) return;
  int exponent = 0;
  long double mantissa = std::frexp(magnitude, &exponent);
  auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
  int shift = 64 - exponent;  // magnitude = bits / 2^shift
  if (shift <= 0) {
    // A whole number of 2^63 or more: the C library writes it exactly.
    int size = std::snprintf(nullptr, 0, "%.0Lf", magnitude);
    integer.resize(static_cast<std::size_t>(size) + 1);
    std::snprintf(integer.data(), integer.size(), "%.0Lf", magnitude);
    integer.resize(static_cast<std::size_t>(size));
    return;
  }
  uint128 rest = bits;
  if (shift < 64) {
    std::uint64_t whole = bits >> shift;
    rest = bits & ((std::uint64_t{1} << shift) - 1);
    if (whole != 0) {
      char buffer[24];
      auto end = std::to_chars(buffer, buffer + sizeof buffer, whole).ptr;
      integer.assign(buffer, end);
    }
  }
  // Below 2^-60 the first 18 decimals are zeros, and rest × 10 would not fit.
  if (shift > 124) return;
  const uint128 mask = (uint128{1} << shift) - 1;
  for (int i = 0; i < count && rest != 0; ++i) {
    rest *= 10;
    fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + static_cast<int>(rest >> shift));
    rest &= mask;
  }
}

// Adds one to the decimal digit string, carrying; may grow it by a digit.
void increment(std::string& digits) {
  for (auto i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string non_finite_text(long double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string fixed_text(long double value, int decimals) {
  if (!std::isfinite(value)) return non_finite_text(value);
  if (decimals < 0) decimals = 0;
  if (decimals > max_decimals) decimals = max_decimals;
  std::string integer, fraction;
  exact_digits(std::fabs(value), decimals + 1, integer, fraction);

  // Digits kept: all decimals, unless that would exceed 9 significant
  // digits (a value below 1 has at most 9 decimals, all of them kept).
  const auto int_digits = static_cast<int>(integer.size());
  const int kept = int_digits > 0 ? std::min(int_digits + decimals, max_significant) : decimals;
  std::string digits = integer + fraction;  // int_digits + decimals + 1 digits
  const bool round_up = digits[static_cast<std::size_t>(kept)] >= '5';  // halves away from zero
  digits.resize(static_cast<std::size_t>(kept));
  int whole_digits = int_digits;
  if (round_up) {
    const auto before = digits.size();
    increment(digits);
    if (digits.size() > before) ++whole_digits;
  }
  // Digits past the ninth significant one, and decimals not kept, are zeros.
  digits.resize(static_cast<std::size_t>(whole_digits + decimals), '0');

  std::string text;
  text.reserve(digits.size() + 3);
  if (value < 0 && digits.find_first_not_of('0') != std::string::npos) text += '-';
  if (whole_digits == 0) {
    text += '0';
  } else {
    text.append(digits, 0, static_cast<std::size_t>(whole_digits));
  }
  if (decimals > 0) {
    text += '.';
    text.append(digits, static_cast<std::size_t>(whole_digits), std::string::npos);
  }
  return text;
}

std::string general_text(long double value) {
  std::string text = fixed_text(value, max_decimals);
  auto point = text.find('.');
  if (point == std::string::npos) return text;
  auto last = text.find_last_not_of('0');
  text.erase(last == point ? point : last + 1);
  if (text == "-0") text = "0";
  return text;
}

long double hundredths(long double x) { return x * 0.01L; }
long double thousandths(long double x) { return x * 0.001L; }

std::string amount_text(float x) { return fixed_text(static_cast<float>(hundredths(x)), 2); }
std::string amount_text_extended(long double x) { return fixed_text(hundredths(x), 2); }
std::string rate_text(float x) { return fixed_text(x, 2); }
std::string quantity_text(float x, int decimals) {
  return fixed_text(static_cast<float>(thousandths(x)), decimals);
}
std::string whole_text(float x) { return fixed_text(x, 0); }

}  // namespace ejscope

#include "render/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ejscope {
namespace {

__extension__ typedef unsigned __int128 uint128;

constexpr int max_significant = 9;
constexpr int max_decimals = 9;

// The leading decimal digits of a magnitude, exactly as far as the rounding
// needs them: `head` holds the first digits of the integer part (all of them
// below 2^63; past the 41st of a larger value they read as zeros),
// `int_digits` counts the integer part's digits (0 below 1), and `fraction`
// holds the first decimals.
struct leading_digits {
  char head[48];
  int head_len = 0;
  int int_digits = 0;
  char fraction[max_decimals + 1];

  char at(int i) const {
    if (i < head_len) return head[i];
    if (i < int_digits) return '0';
    return fraction[i - int_digits];
  }
};

// magnitude = bits / 2^shift with a 64-bit mantissa, so the fraction is a
// binary fraction whose decimals come out exactly by multiplying by 10.
void exact_digits(long double magnitude, int count, leading_digits& out) {
  std::fill(out.fraction, out.fraction + count, '0');
  if (magnitude == 0) return;
  int exponent = 0;
  const long double mantissa = std::frexp(magnitude, &exponent);
  const auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64));
  const int shift = 64 - exponent;
  if (shift <= 0) {
    // 2^63 or more: a whole number, its digits from the C library (exact up
    // to 10^41, which covers every amount a 32-bit float can hold).
    char text[64];
    std::snprintf(text, sizeof text, "%.40Le", magnitude);
    out.head[0] = text[0];
    std::memcpy(out.head + 1, text + 2, 40);
    out.int_digits = std::atoi(std::strchr(text, 'e') + 1) + 1;
    out.head_len = std::min(out.int_digits, 41);
    return;
  }
  uint128 rest = bits;
  if (shift < 64) {
    const std::uint64_t whole = bits >> shift;
    rest = bits & ((std::uint64_t{1} << shift) - 1);
    if (whole != 0) {
      out.head_len = static_cast<int>(std::to_chars(out.head, out.head + sizeof out.head, whole).ptr - out.head);
      out.int_digits = out.head_len;
    }
  }
  // Below 2^-60 the first 18 decimals are zeros, and rest × 10 would not fit.
  if (shift > 124) return;
  const uint128 mask = (uint128{1} << shift) - 1;
  for (int i = 0; i < count && rest != 0; ++i) {
    rest *= 10;
    out.fraction[i] = static_cast<char>('0' + static_cast<int>(rest >> shift));
    rest &= mask;
  }
}

// A sum of floats can overflow to infinity; it is shown as such, not hidden.
std::string non_finite_text(long double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

std::string fixed_text(long double value, int decimals) {
  if (!std::isfinite(value)) return non_finite_text(value);
  decimals = std::clamp(decimals, 0, max_decimals);
  leading_digits digits;
  exact_digits(std::fabs(value), decimals + 1, digits);

  // Digits kept: all decimals, unless that would exceed 9 significant
  // digits (a value below 1 has at most 9 decimals, all of them kept).
  const int kept = digits.int_digits > 0 ? std::min(digits.int_digits + decimals, max_significant) : decimals;
  char rounded[max_significant + 2];
  for (int i = 0; i < kept; ++i) rounded[i + 1] = digits.at(i);
  int first = 1;
  int whole_digits = digits.int_digits;
  if (digits.at(kept) >= '5') {  // halves away from zero
    int i = kept;
    while (i > 0 && rounded[i] == '9') rounded[i--] = '0';
    if (i > 0) {
      ++rounded[i];
    } else {
      rounded[0] = '1';
      first = 0;
      ++whole_digits;
    }
  }
  // The digits of the result are rounded[first ... kept] followed by zeros:
  // past the ninth significant digit, and in decimals not kept.
  const int held = kept + 1 - first;
  auto digit = [&](int i) { return i < held ? rounded[first + i] : '0'; };
  bool nonzero = false;
  for (int i = 0; i < held; ++i) nonzero = nonzero || rounded[first + i] != '0';

  const bool negative = value < 0 && nonzero;  // no "-0.00" for a tiny negative amount
  const int whole_width = std::max(whole_digits, 1);
  std::string text(static_cast<std::size_t>(negative + whole_width + (decimals > 0 ? decimals + 1 : 0)), '0');
  char* out = text.data();
  if (negative) *out++ = '-';
  for (int i = 0; i < whole_digits; ++i) out[i] = digit(i);
  out += whole_width;
  if (decimals > 0) {
    *out++ = '.';
    for (int i = 0; i < decimals; ++i) out[i] = digit(whole_digits + i);
  }
  return text;
}

std::string general_text(long double value) {
  std::string text = fixed_text(value, max_decimals);
  auto point = text.find('.');
  if (point == std::string::npos) return text;
  auto last = text.find_last_not_of('0');
  text.erase(last == point ? point : last + 1);
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

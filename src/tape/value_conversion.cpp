#include "tape/value_conversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace ejscope {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Splits off one sign character; from_chars accepts "-" but not "+".
bool take_sign(std::string_view& text) {
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return negative;
}

}  // namespace

std::optional<float> to_number(std::string_view text) {
  text = trim_blanks(text);
  bool negative = take_sign(text);
  // The first character must start the digits: this keeps out "inf", "nan"
  // and a second sign, which from_chars would otherwise take.
  if (text.empty() || !(is_digit(text.front()) || text.front() == '.')) return std::nullopt;
  // Most values are short whole numbers: below 2^24 every one is a float
  // exactly, the value the general conversion gives.
  if (text.size() <= 7 && std::all_of(text.begin(), text.end(), is_digit)) {
    std::int32_t whole = 0;
    for (char c : text) whole = whole * 10 + (c - '0');
    const float value = static_cast<float>(whole);
    return negative ? -value : value;
  }
  const char* first = text.data();
  const char* last = first + text.size();
  float value = 0;
  auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Out of range either way: a magnitude too small for a float is 0.
    double wide = 0;
    auto [wide_end, wide_error] = std::from_chars(first, last, wide, std::chars_format::general);
    if (wide_end != last || wide_error != std::errc() || !(std::fabs(wide) < 1)) return std::nullopt;
    value = 0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<std::int32_t> to_int(std::string_view text) {
  text = trim_blanks(text);
  bool negative = take_sign(text);
  if (text.empty() || !is_digit(text.front())) return std::nullopt;
  std::uint32_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, 10);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
  return negative ? static_cast<std::int32_t>(0u - magnitude) : static_cast<std::int32_t>(magnitude);
}

std::optional<std::int16_t> to_short(std::string_view text) {
  auto whole = to_int(text);
  if (!whole) return std::nullopt;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(*whole) & 0xFFFFu));
}

}  // namespace ejscope

#include "render/text_rules.h"

#include <array>
#include <charconv>

#include "render/render_error.h"
#include "text/cp1251.h"

namespace ejscope {
namespace {

constexpr std::size_t short_line = 38;
constexpr std::size_t line_padding = 35;
constexpr std::size_t footer_field_start = 12;
constexpr std::size_t footer_field_width = 7;

std::size_t end_column(column_kind kind) {
  switch (kind) {
    case column_kind::right_amount: return 37;
    case column_kind::tax_rate: return 30;
    case column_kind::receipt_number: return 11;
    case column_kind::left_amount: return 24;
    case column_kind::unit_price: return 36;
    case column_kind::shift_counter: return 7;
    case column_kind::footer_field: return footer_field_start + footer_field_width - 1;
  }
  return 0;
}

[[noreturn]] void range_check_error() { throw render_error("Range check error"); }

// Characters 1-based from `first`, `count` of them, as far as the text goes.
std::string_view part(std::string_view text, std::size_t first, std::size_t count) {
  if (first > text.size()) return {};
  return text.substr(first - 1, count);
}

}  // namespace

void overlay_field(std::string& line, std::string_view value, column_kind kind) {
  if (line.size() < short_line) line.append(line_padding, ' ');
  if (kind == column_kind::footer_field) {
    if (value.size() < footer_field_width) range_check_error();
    value = value.substr(0, footer_field_width);
  }
  if (value.empty()) return;
  const std::size_t end = end_column(kind);
  if (value.size() > end || end > line.size()) range_check_error();
  line.replace(end - value.size(), value.size(), value);
}

// Strict decimal text only: a tax text with blanks or another base is damage, not an index.
int integer_value(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
      (digits.front() == '-' && text.front() == '+')) {
    throw render_error("'" + std::string(text) + "' is not a valid integer value");
  }
  return value;
}

const std::string& tax_letter(long long index) {
  static const std::array<std::string, 7> letters = {" ", "A", win("Б"), win("В"), win("Г"), win("Д"), "*"};
  static const std::string too_many = win("Много параметров");
  if (index < 0 || index >= static_cast<long long>(letters.size())) return too_many;
  return letters[static_cast<std::size_t>(index)];
}

std::string date_text(std::string_view ts, bool with_time) {
  std::string text;
  text.reserve(17);
  text.append(part(ts, 7, 2)).append(".").append(part(ts, 5, 2)).append(".").append(part(ts, 1, 4)).append("  ");
  if (with_time) text.append(part(ts, 9, 2)).append(":").append(part(ts, 11, 2));
  return text;
}

namespace {

std::string joined(std::initializer_list<std::string_view> parts, bool padded) {
  std::size_t size = 0;
  for (auto part : parts) size += part.size();
  std::string line;
  line.reserve(size + (padded && size < short_line ? line_padding : 0) + 2);
  for (auto part : parts) line.append(part);
  return line;
}

}  // namespace

std::string line_of(std::initializer_list<std::string_view> parts) { return joined(parts, false); }
std::string field_line_of(std::initializer_list<std::string_view> parts) { return joined(parts, true); }

const std::string& rule_line() {
  static const std::string line = "  " + std::string(38, '-');
  return line;
}

std::string win(std::string_view utf8) { return text::utf8_to_cp1251(utf8); }

}  // namespace ejscope

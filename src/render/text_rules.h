#pragma once
// The text rules every layout shares: 40-column lines (two blanks of margin,
// 38 of content), values written over a line at fixed columns, tax letters,
// the date text and the rule line. All texts are windows-1251 bytes.
#include <initializer_list>
#include <string>
#include <string_view>

namespace ejscope {

// Where overlay_field puts a value: the column (counted from 1) at which it
// ends, or for footer_field the seven columns 12 to 18.
enum class column_kind {
  right_amount = 1,    // ends at column 37: amounts at the right edge, date and time
  tax_rate = 2,        // ends at column 30
  receipt_number = 3,  // ends at column 11
  left_amount = 4,     // ends at column 24: the Z-report's left column
  unit_price = 5,      // ends at column 36
  shift_counter = 6,   // ends at column 7
  footer_field = 7,    // the first seven characters of the value over columns 12 to 18
};

// Writes `value` over `line` so that it ends at the kind's column; a line
// shorter than 38 characters first gets 35 blanks. Throws render_error
// "Range check error" when the value would start left of column 1 or end
// right of the line's end, or (footer_field) is shorter than seven characters.
void overlay_field(std::string& line, std::string_view value, column_kind kind);

// The integer value of a text (optional sign, decimal digits, 32-bit
// range); anything else throws render_error "'<text>' is not a valid integer
// value".
int integer_value(std::string_view text);
// The letter of a tax index: 0 " ", 1 the Latin "A", 2 "Б", 3 "В", 4 "Г",
// 5 "Д", 6 "*", any other "Много параметров".
const std::string& tax_letter(long long index);

// A YYYYMMDDhhmmss text as "DD.MM.YYYY  " followed, with the time, by
// "hh:mm"; characters past the end of the text give nothing.
std::string date_text(std::string_view ts, bool with_time);

// The parts joined into one line, with room for two more characters (a margin).
std::string line_of(std::initializer_list<std::string_view> parts);
// The same with room for the padding of overlay_field too, for a line that
// values are placed in.
std::string field_line_of(std::initializer_list<std::string_view> parts);

// Two blanks and 38 "-".
const std::string& rule_line();

// A windows-1251 text from the UTF-8 source text of a layout.
std::string win(std::string_view utf8);

}  // namespace ejscope

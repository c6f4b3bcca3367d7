#pragma once
// Conversion between the windows-1251 bytes that the whole system works in
// and UTF-8, used only where text meets a terminal or a window.
#include <string>
#include <string_view>

namespace ejscope::text {

// Every byte maps to one code point; the code page's unassigned byte 98h
// becomes U+FFFD so that no input can fail or vanish.
std::string cp1251_to_utf8(std::string_view cp1251);

// Code points without a windows-1251 byte, and malformed UTF-8 sequences,
// become "?"; the result is never longer than the input.
std::string utf8_to_cp1251(std::string_view utf8);

}  // namespace ejscope::text

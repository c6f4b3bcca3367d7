#pragma once
// The conversions of tape values into model fields. Each returns nothing
// when the text is not a value of its kind; the walk turns that into its
// failure (or, for an int, into 0).
#include <cstdint>
#include <optional>
#include <string_view>

namespace ejscope {

// A decimal number with "." as the decimal point: optional blanks around it,
// an optional sign, digits with an optional fraction, an optional exponent.
// The result is the nearest 32-bit float; a magnitude beyond the float range
// is not a value (one below it gives 0).
std::optional<float> to_number(std::string_view text);

// Decimal digits with an optional sign and optional blanks around them,
// within the 32-bit range.
std::optional<std::int32_t> to_int(std::string_view text);

// A 32-bit decimal integer held as its low 16 bits, signed.
std::optional<std::int16_t> to_short(std::string_view text);

}  // namespace ejscope

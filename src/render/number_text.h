#pragma once
// Number texts of the rendered documents: "." as the decimal point, no
// thousands separator, "-" before a negative value, rounded to the stated
// number of decimals with halves away from zero and at most 9 significant
// digits (digits past the ninth are written as zeros).
//
// Sums and prices are hundredths and quantities thousandths of the unit: the
// stored 32-bit float is scaled by 0.01 or 0.001 in extended precision. The
// receipts and the payment rows of the Z-report round that product to the
// nearest 32-bit float before formatting; the other Z-report amounts are
// formatted from the product itself.
#include <string>

namespace ejscope {

// The value rounded to `decimals` (0 ... 9) decimals under the rules above.
std::string fixed_text(long double value, int decimals);
// Up to 9 significant digits and at most 9 decimals, without trailing zeros
// of the fraction; a whole number has no decimal point.
std::string general_text(long double value);

// x × 0.01 and x × 0.001 in extended precision.
long double hundredths(long double x);
long double thousandths(long double x);

// x × 0.01 rounded to a 32-bit float, two decimals: 1250 gives "12.50".
std::string amount_text(float x);
// x × 0.01 formatted from the extended product, two decimals.
std::string amount_text_extended(long double x);
// x unscaled, two decimals (rates in percent): 20 gives "20.00".
std::string rate_text(float x);
// x × 0.001 rounded to a 32-bit float, with 3 or 0 decimals.
std::string quantity_text(float x, int decimals);
// x with no decimals: 15 gives "15".
std::string whole_text(float x);

}  // namespace ejscope

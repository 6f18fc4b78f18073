#pragma once
#include <string_view>

#include "numeric/decimal_separator.h"

namespace vorlanex::numeric {

// Field text to number. Accepted: spaces (character 32 only), an optional sign, digits, the
// decimal separator and more digits (at least one digit or the separator in all), an optional
// exponent ("E"/"e", optional sign, digits; reading stops once the exponent reaches 500 and a
// digit left over rejects the text), trailing spaces, end. The value is formed at extended
// precision and rounded to the nearest double.
//   " 12,5 " -> 12.5   ",5" -> 0.5   "5," -> 5   "," -> 0   "5E" -> 5   "1E+3" -> 1000
//   "-0" -> -0.0       "1e-400" -> 0 (below the double range, silently)
// Throws ConversionFault for any other text ("", "abc", "E5", "- 5", "1 000", "1e5000") and for a
// value that overflows extended precision; ArithmeticFault(Overflow) for a value that fits
// extended precision but not a double ("1e400", "1e0500").
double parse_number(std::string_view text, const DecimalSeparator& separator);

// A text that show_number wrote, read back: the number parse_number gives for it, and the decimal
// places it shows (the digits after the separator less the exponent, at least 0):
//   "42,702" -> 42.702, 3   "1,5E-5" -> 1.5e-5, 6   "1E15" -> 1e15, 0   "-0,5" -> -0.5, 1
// Quick for show_number's own texts (sign, digits, separator, digits, exponent, without spaces,
// with up to 19 significant digits); any other text is read by parse_number, faults included.
struct ShownNumber {
    double value = 0;
    int decimal_places = 0;
};
ShownNumber read_shown_number(std::string_view text, const DecimalSeparator& separator);

}  // namespace vorlanex::numeric

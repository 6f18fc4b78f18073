#pragma once
// A slow, plainly correct model of how a number is shown, used to check show_number: the exact
// decimal expansion of the double by big-integer arithmetic, then the two roundings digit by
// digit as decimal strings.
#include <string>
#include <string_view>

namespace vorlanex::numeric::testing {

// All the digits of a finite double's magnitude: |value| = 0.digits x 10^exponent, no leading
// or trailing zeros. Zero gives an empty string.
struct ExactDecimal {
    std::string digits;
    int exponent = 0;
};
ExactDecimal exact_decimal(double value);

// The field text of `value` by the same rule as show_number, computed from exact_decimal.
std::string reference_show_number(double value, std::string_view separator);

}  // namespace vorlanex::numeric::testing

#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "numeric/decimal_separator.h"

namespace vorlanex::numeric {

// Number to field text, 15 significant digits: the magnitude is scaled to an 18-digit integer
// (ties to even), then cut to 15 digits, rounding up when the 16th digit is 5 or more; trailing
// zeros are dropped. Plain notation for 0.0001 <= |value| < 10^15 after rounding, scientific
// otherwise. Both zeros show "0"; never a "+" or a thousands separator. With ",":
//   12.5 -> "12,5"   0.1 + 0.2 -> "0,3"   2.0 / 3 -> "0,666666666666667"   0.00001 -> "1E-5"
//   0.000015 -> "1,5E-5"   1e15 -> "1E15"   999999999999999.9 -> "1E15"   123456789012345 stays plain
std::string show_number(double value, const DecimalSeparator& separator);

// The same text in a fixed buffer, for loops that show millions of numbers without allocating.
// The longest text is about 25 bytes: "-d" + a separator of up to 4 bytes + 14 digits + "E-324",
// or "-0" + separator + "000" + 15 digits.
class ShownText {
public:
    std::string_view view() const { return {text_.data(), size_}; }

    void add(char c) { text_[size_++] = c; }
    void add(std::string_view s) {
        for (char c : s) add(c);
    }
    void add_zeros(int count) {
        for (int i = 0; i < count; ++i) add('0');
    }
    void add_integer(int value);

private:
    std::array<char, 64> text_{};
    std::size_t size_ = 0;
};

ShownText show_number_text(double value, const DecimalSeparator& separator);

}  // namespace vorlanex::numeric

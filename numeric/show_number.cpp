#include "numeric/show_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vorlanex::numeric {

namespace {

constexpr int kScaledDigits = 18;  // first rounding: the exact value to 18 digits, ties to even
constexpr int kShownDigits = 15;   // then cut to 15 digits
constexpr std::uint64_t kCutDivisor = 1000;         // 10^(18 - 15)
constexpr std::uint64_t kCutRoundUpFrom = 500;      // the 16th digit is 5 or more
constexpr std::uint64_t kShownLimit = 1000000000000000;  // 10^15: a carry out of 15 digits

// Plain notation for 0.0001 <= |value| < 10^15, with the exponent E of 0.d1d2... x 10^E.
constexpr int kPlainLowestExponent = -3;
constexpr int kPlainHighestExponent = 15;

// A magnitude rounded to at most 15 significant digits: 0.digits x 10^exponent, the digits
// without trailing zeros.
struct ShownDigits {
    std::array<char, kShownDigits> digits{};
    int count = 0;
    int exponent = 0;
};

std::uint64_t integer_of(const char* first, const char* last) {
    std::uint64_t value = 0;
    for (const char* p = first; p != last; ++p) value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    return value;
}

ShownDigits round_to_shown_digits(double magnitude) {
    // to_chars writes the exact decimal value rounded to 18 significant digits with ties to even,
    // as "d.ddddddddddddddddde[+-]xx".
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                       std::chars_format::scientific, kScaledDigits - 1);
    const char* const point = text.data() + 1;
    const char* const exponent_mark = point + 1 + (kScaledDigits - 1);
    const std::uint64_t scaled = integer_of(text.data(), point) * 100000000000000000 +
                                 integer_of(point + 1, exponent_mark);
    const bool exponent_negative = exponent_mark[1] == '-';
    const auto exponent_digits = static_cast<int>(integer_of(exponent_mark + 2, written.ptr));

    ShownDigits shown;
    shown.exponent = (exponent_negative ? -exponent_digits : exponent_digits) + 1;
    std::uint64_t cut = scaled / kCutDivisor;
    if (scaled % kCutDivisor >= kCutRoundUpFrom) ++cut;
    if (cut == kShownLimit) {  // 999999999999999|5xx carried into a 16th digit
        cut /= 10;
        ++shown.exponent;
    }
    while (cut % 10 == 0) cut /= 10;
    const auto digits_end = std::to_chars(shown.digits.data(), shown.digits.data() + shown.digits.size(), cut);
    shown.count = static_cast<int>(digits_end.ptr - shown.digits.data());
    return shown;
}

// Builds the text in a fixed buffer. The longest text is about 25 bytes: "-d" + a separator of up
// to 4 bytes + 14 digits + "E-324", or "-0" + separator + "000" + 15 digits.
class TextBuffer {
public:
    void add(char c) { text_[size_++] = c; }
    void add(std::string_view s) {
        for (char c : s) add(c);
    }
    void add_zeros(int count) {
        for (int i = 0; i < count; ++i) add('0');
    }
    void add_integer(int value) {
        const auto end = std::to_chars(text_.data() + size_, text_.data() + text_.size(), value);
        size_ = static_cast<std::size_t>(end.ptr - text_.data());
    }
    std::string str() const { return std::string(text_.data(), size_); }

private:
    std::array<char, 64> text_{};
    std::size_t size_ = 0;
};

void add_plain(TextBuffer& text, const ShownDigits& shown, std::string_view separator) {
    const std::string_view digits(shown.digits.data(), static_cast<std::size_t>(shown.count));
    if (shown.exponent >= 1) {
        const auto integer_length = static_cast<std::size_t>(shown.exponent);
        text.add(digits.substr(0, integer_length));
        if (digits.size() < integer_length) text.add_zeros(static_cast<int>(integer_length - digits.size()));
        if (digits.size() > integer_length) {
            text.add(separator);
            text.add(digits.substr(integer_length));
        }
    } else {
        text.add('0');
        text.add(separator);
        text.add_zeros(-shown.exponent);
        text.add(digits);
    }
}

void add_scientific(TextBuffer& text, const ShownDigits& shown, std::string_view separator) {
    text.add(shown.digits[0]);
    if (shown.count > 1) {
        text.add(separator);
        text.add(std::string_view(shown.digits.data() + 1, static_cast<std::size_t>(shown.count - 1)));
    }
    text.add('E');
    text.add_integer(shown.exponent - 1);
}

}  // namespace

std::string show_number(double value, const DecimalSeparator& separator) {
    if (value == 0) return "0";
    // A calculation never holds these (Extended and store() throw first); they are shown rather
    // than misread.
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const ShownDigits shown = round_to_shown_digits(std::fabs(value));
    TextBuffer text;
    if (std::signbit(value)) text.add('-');
    if (shown.exponent >= kPlainLowestExponent && shown.exponent <= kPlainHighestExponent) {
        add_plain(text, shown, separator.text());
    } else {
        add_scientific(text, shown, separator.text());
    }
    return text.str();
}

}  // namespace vorlanex::numeric

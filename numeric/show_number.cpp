#include "numeric/show_number.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

namespace vorlanex::numeric {

namespace {

constexpr int kScaledDigits = 18;                        // first rounding: the exact value to 18 digits, ties to even
constexpr int kShownDigits = 15;                         // then cut to 15 digits
constexpr std::uint64_t kCutDivisor = 1000;              // 10^(18 - 15)
constexpr std::uint64_t kCutRoundUpFrom = 500;           // the 16th digit is 5 or more
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

// A magnitude scaled to 18 significant digits: digits (10^17 <= digits < 10^18) x 10^(exponent - 18).
struct Scaled {
    std::uint64_t digits = 0;
    int exponent = 0;
};

// to_chars writes the exact decimal value rounded to 18 significant digits with ties to even, as
// "d.ddddddddddddddddde[+-]xx". Right for every double, but slow: it works through big tables.
Scaled scale_by_to_chars(double magnitude) {
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), magnitude, std::chars_format::scientific,
                                       kScaledDigits - 1);
    const char* const point = text.data() + 1;
    const char* const exponent_mark = point + 1 + (kScaledDigits - 1);
    const bool exponent_negative = exponent_mark[1] == '-';
    const auto exponent_digits = static_cast<int>(integer_of(exponent_mark + 2, written.ptr));
    return {integer_of(text.data(), point) * 100000000000000000 + integer_of(point + 1, exponent_mark),
            (exponent_negative ? -exponent_digits : exponent_digits) + 1};
}

__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kLowest18Digits = 100000000000000000;  // 10^17
constexpr std::uint64_t kPastHighest18Digits = 10 * kLowest18Digits;
// m x 10^k stays below 2^128 for a 53-bit m while 10^k < 2^75: k <= 22.
constexpr int kMostExactPowerOfTen = 22;

constexpr std::array<Wide, kMostExactPowerOfTen + 1> kPowersOfTen = [] {
    std::array<Wide, kMostExactPowerOfTen + 1> powers{};
    Wide power = 1;
    for (Wide& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// The same scaling in integer arithmetic, exact, for the magnitudes calculations give: a normal
// double m x 2^e (m of 53 bits) from 10^-5 up to 10^18, whose scaled value m x 10^k x 2^e, with
// 0 <= k <= 22, is worked out in 128 bits. Nothing for other magnitudes.
std::optional<Scaled> scale_exactly(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biased_exponent = static_cast<int>(bits >> 52);
    // From 2^-60 (every shift below fits in 128 bits) to below 2^64; k bounds it further.
    if (biased_exponent < 1023 - 60 || biased_exponent >= 1023 + 64) return std::nullopt;
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binary_exponent = biased_exponent - 1075;  // magnitude = mantissa x 2^binary_exponent

    // 10^(E-1) <= magnitude < 10^E. log10(2) puts this first guess at E or one below it.
    int exponent = static_cast<int>(std::floor((binary_exponent + 52) * 0.30102999566398120)) + 1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = kScaledDigits - exponent;
        if (k < 0 || k > kMostExactPowerOfTen) return std::nullopt;
        // magnitude x 10^k = product x 2^binary_exponent: its integer part, and whether the part
        // cut off rounds it up (more than a half, or a half with an odd integer part).
        const Wide product = Wide{mantissa} * kPowersOfTen[static_cast<std::size_t>(k)];
        Wide integer_part = product;
        bool round_up = false;
        if (binary_exponent >= 0) {
            integer_part = product << binary_exponent;
        } else {
            const int shift = -binary_exponent;
            integer_part = product >> shift;
            const Wide cut_off = product & ((Wide{1} << shift) - 1);
            const Wide half = Wide{1} << (shift - 1);
            round_up = cut_off > half || (cut_off == half && (integer_part & 1) != 0);
        }
        if (integer_part < kLowest18Digits) {
            --exponent;
        } else if (integer_part >= kPastHighest18Digits) {
            ++exponent;
        } else {
            const auto digits = static_cast<std::uint64_t>(integer_part) + (round_up ? 1U : 0U);
            if (digits == kPastHighest18Digits) return Scaled{kLowest18Digits, exponent + 1};  // 99..9|5 carried
            return Scaled{digits, exponent};
        }
    }
    return std::nullopt;
}

ShownDigits round_to_shown_digits(double magnitude) {
    const std::optional<Scaled> exact = scale_exactly(magnitude);
    const Scaled scaled = exact ? *exact : scale_by_to_chars(magnitude);

    ShownDigits shown;
    shown.exponent = scaled.exponent;
    std::uint64_t cut = scaled.digits / kCutDivisor;
    if (scaled.digits % kCutDivisor >= kCutRoundUpFrom) ++cut;
    if (cut == kShownLimit) {  // 999999999999999|5xx carried into a 16th digit
        cut /= 10;
        ++shown.exponent;
    }
    // The trailing zeros go (up to 14 of them, as cut has 15 digits and is not 0) in four steps of
    // 8, 4, 2 and 1 rather than one at a time: most results are rounded to a few places.
    for (const std::uint64_t zeros : {100000000ULL, 10000ULL, 100ULL, 10ULL}) {
        if (cut % zeros == 0) cut /= zeros;
    }
    const auto digits_end = std::to_chars(shown.digits.data(), shown.digits.data() + shown.digits.size(), cut);
    shown.count = static_cast<int>(digits_end.ptr - shown.digits.data());
    return shown;
}

void add_plain(ShownText& text, const ShownDigits& shown, std::string_view separator) {
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

void add_scientific(ShownText& text, const ShownDigits& shown, std::string_view separator) {
    text.add(shown.digits[0]);
    if (shown.count > 1) {
        text.add(separator);
        text.add(std::string_view(shown.digits.data() + 1, static_cast<std::size_t>(shown.count - 1)));
    }
    text.add('E');
    text.add_integer(shown.exponent - 1);
}

}  // namespace

void ShownText::add_integer(int value) {
    const auto end = std::to_chars(text_.data() + size_, text_.data() + text_.size(), value);
    size_ = static_cast<std::size_t>(end.ptr - text_.data());
}

std::string show_number(double value, const DecimalSeparator& separator) {
    return std::string(show_number_text(value, separator).view());
}

ShownText show_number_text(double value, const DecimalSeparator& separator) {
    ShownText text;
    if (value == 0) {
        text.add('0');
        return text;
    }
    // A calculation never holds these (Extended and store() throw first); they are shown rather
    // than misread.
    if (std::isnan(value)) {
        text.add("NAN");
        return text;
    }
    if (std::isinf(value)) {
        text.add(value < 0 ? "-INF" : "INF");
        return text;
    }
    const ShownDigits shown = round_to_shown_digits(std::fabs(value));
    if (std::signbit(value)) text.add('-');
    if (shown.exponent >= kPlainLowestExponent && shown.exponent <= kPlainHighestExponent) {
        add_plain(text, shown, separator.text());
    } else {
        add_scientific(text, shown, separator.text());
    }
    return text;
}

}  // namespace vorlanex::numeric

#include "numeric/parse_number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "numeric/extended.h"
#include "numeric/faults.h"

namespace vorlanex::numeric {

namespace {

// Exponent digits are read only while the exponent is below this; a digit left over rejects
// the text. So |exponent| never exceeds 4999.
constexpr int kExponentReadLimit = 500;

// A value whose leading digit is at 10^kOverflowLead or above is beyond the extended range
// (about 1.19e4932); one below 10^kUnderflowLead is far below half the smallest subnormal double
// (about 2.5e-324) and becomes 0 whatever its digits.
constexpr std::int64_t kOverflowLead = 4933;
constexpr std::int64_t kUnderflowLead = -330;

// Up to 19 digits fit a uint64_t exactly, and 10^0..10^27 are exact long doubles (5^27 < 2^64):
// one multiplication or division of two exact operands is then correctly rounded.
constexpr std::int64_t kFastPathDigits = 19;
constexpr std::int64_t kFastPathPowerOfTen = 27;
constexpr std::array<long double, kFastPathPowerOfTen + 1> kPowersOfTen = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// Significant digits passed to strtold at most; the rest is replaced by one sticky "1". Every
// value halfway between two long doubles that can still decide the double result (from about
// 2^-1140 up to the top of the extended range) has fewer significant digits than this, so the
// shortened text rounds exactly like the full one.
constexpr std::int64_t kMaxSignificantDigits = 5000;

// The parts of a number text. Value = (integer and fraction digits as one integer)
// x 10^(exponent - number of fraction digits), negated when `negative`.
struct NumberText {
    bool negative = false;
    std::string_view integer_digits;
    std::string_view fraction_digits;
    int exponent = 0;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool at_end() const { return position_ == text_.size(); }
    bool next_is(char c) const { return !at_end() && text_[position_] == c; }
    bool next_is_digit() const { return !at_end() && is_digit(text_[position_]); }

    bool take(char c) {
        if (!next_is(c)) return false;
        ++position_;
        return true;
    }
    bool take(std::string_view s) {
        if (s.empty() || !text_.substr(position_).starts_with(s)) return false;
        position_ += s.size();
        return true;
    }
    char take_any() { return text_[position_++]; }
    void skip_spaces() {
        while (take(' ')) {
        }
    }
    std::string_view take_digits() {
        const std::size_t start = position_;
        while (next_is_digit()) ++position_;
        return text_.substr(start, position_ - start);
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// The exponent after "E"/"e": optional sign, digits read while below the limit. An empty run is
// exponent 0. Fails when a digit is left over.
std::optional<int> read_exponent(Reader& reader) {
    const bool negative = reader.take('-');
    if (!negative) reader.take('+');
    int exponent = 0;
    while (exponent < kExponentReadLimit && reader.next_is_digit()) {
        exponent = exponent * 10 + (reader.take_any() - '0');
    }
    if (reader.next_is_digit()) return std::nullopt;
    return negative ? -exponent : exponent;
}

std::optional<NumberText> read_number_text(std::string_view text, std::string_view separator) {
    Reader reader(text);
    NumberText number;
    reader.skip_spaces();
    number.negative = reader.take('-');
    if (!number.negative) reader.take('+');
    number.integer_digits = reader.take_digits();
    const bool has_separator = reader.take(separator);
    if (has_separator) number.fraction_digits = reader.take_digits();
    if (number.integer_digits.empty() && !has_separator) return std::nullopt;
    if (reader.take('E') || reader.take('e')) {
        const std::optional<int> exponent = read_exponent(reader);
        if (!exponent) return std::nullopt;
        number.exponent = *exponent;
    }
    reader.skip_spaces();
    if (!reader.at_end()) return std::nullopt;
    return number;
}

// The integer and fraction digits seen as one digit string, without copying them.
class DigitString {
public:
    DigitString(std::string_view integer, std::string_view fraction) : integer_(integer), fraction_(fraction) {}
    std::int64_t size() const { return length(integer_) + length(fraction_); }
    char operator[](std::int64_t i) const {
        return i < length(integer_) ? integer_[index(i)] : fraction_[index(i - length(integer_))];
    }

private:
    static std::int64_t length(std::string_view s) { return static_cast<std::int64_t>(s.size()); }
    static std::size_t index(std::int64_t i) { return static_cast<std::size_t>(i); }
    std::string_view integer_;
    std::string_view fraction_;
};

// A non-zero magnitude as significant digits: digits[first..last] x 10^power, where the first
// and last digits are not 0.
struct Significand {
    DigitString digits;
    std::int64_t first;
    std::int64_t last;
    std::int64_t power;

    std::int64_t count() const { return last - first + 1; }
    // The exponent of the leading digit: the magnitude lies in [10^lead, 10^(lead + 1)).
    std::int64_t lead() const { return power + count() - 1; }
};

std::optional<Significand> significand_of(const NumberText& number) {
    const DigitString digits(number.integer_digits, number.fraction_digits);
    std::int64_t first = 0;
    while (first < digits.size() && digits[first] == '0') ++first;
    if (first == digits.size()) return std::nullopt;
    std::int64_t last = digits.size() - 1;
    while (digits[last] == '0') --last;
    const std::int64_t trailing_zeros = digits.size() - 1 - last;
    const std::int64_t fraction_length = static_cast<std::int64_t>(number.fraction_digits.size());
    return Significand{digits, first, last, number.exponent - fraction_length + trailing_zeros};
}

// Few digits, small power of ten: one correctly rounded extended operation.
std::optional<long double> fast_magnitude(const Significand& s) {
    if (s.count() > kFastPathDigits || s.power > kFastPathPowerOfTen || s.power < -kFastPathPowerOfTen) {
        return std::nullopt;
    }
    std::uint64_t integer = 0;
    for (std::int64_t i = s.first; i <= s.last; ++i) {
        integer = integer * 10 + static_cast<std::uint64_t>(s.digits[i] - '0');
    }
    const auto value = static_cast<long double>(integer);
    const long double scale = kPowersOfTen[static_cast<std::size_t>(s.power < 0 ? -s.power : s.power)];
    return s.power < 0 ? value / scale : value * scale;
}

// Any other magnitude: strtold, which rounds correctly, on a plain "<digits>e<power>" text.
// The text has no decimal point, so the C library's locale cannot change how it is read.
long double exact_magnitude(const Significand& s) {
    std::string text;
    const std::int64_t kept = std::min(s.count(), kMaxSignificantDigits);
    text.reserve(static_cast<std::size_t>(kept) + 16);
    for (std::int64_t i = s.first; i < s.first + kept; ++i) text += s.digits[i];
    if (kept < s.count()) text += '1';  // the dropped digits end in a non-zero digit
    const std::int64_t digits_written = static_cast<std::int64_t>(text.size());
    text += 'e';
    std::array<char, 24> exponent{};
    const auto written =
        std::to_chars(exponent.data(), exponent.data() + exponent.size(), s.lead() - (digits_written - 1));
    text.append(exponent.data(), written.ptr);
    return std::strtold(text.c_str(), nullptr);
}

}  // namespace

double parse_number(std::string_view text, const DecimalSeparator& separator) {
    const std::optional<NumberText> number = read_number_text(text, separator.text());
    if (!number) throw ConversionFault(text);
    const double sign = number->negative ? -1.0 : 1.0;

    const std::optional<Significand> significand = significand_of(*number);
    if (!significand || significand->lead() < kUnderflowLead) return std::copysign(0.0, sign);
    if (significand->lead() >= kOverflowLead) throw ConversionFault(text);

    const std::optional<long double> fast = fast_magnitude(*significand);
    const long double magnitude = fast ? *fast : exact_magnitude(*significand);
    if (std::isinf(magnitude)) throw ConversionFault(text);
    // The value is formed at extended precision and rounded once more when stored as a double;
    // that second rounding is part of the rule (a text exactly between two doubles after the
    // first rounding goes to the even one).
    return store(Extended(number->negative ? -magnitude : magnitude));
}

namespace {

// The places a number text shows: fraction digits less the exponent, at least 0.
int places_shown(std::int64_t fraction_length, std::int64_t exponent) {
    return static_cast<int>(std::clamp<std::int64_t>(fraction_length - exponent, 0, kExponentReadLimit));
}

// 10^0..10^22 are exact doubles.
constexpr int kMostExactDoublePowerOfTen = 22;
constexpr std::array<double, kMostExactDoublePowerOfTen + 1> kDoublePowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactDoubleIntegers = std::uint64_t{1} << 53;
constexpr int kMantissaBits = 52;

// digits x 10^power in double arithmetic, where that is provably the double the extended quotient
// or product rounds to (double arithmetic is quicker than the x87's). A product below 2^53 is
// exact. A quotient q of two exact doubles can differ from the extended one rounded to double only
// when the exact value lies within an extended half-ulp of a point halfway between two doubles;
// the remainder digits - q x 10^k, which fma gives exactly, shows it lies well inside q's own
// rounding interval (below a power of two, the doubles lie twice as close). Anything else: nothing, and the caller
// takes the extended path.
std::optional<double> magnitude_in_doubles(std::uint64_t digits, std::int64_t power) {
    if (digits >= kExactDoubleIntegers || power > kMostExactDoublePowerOfTen || power < -kMostExactDoublePowerOfTen) {
        return std::nullopt;
    }
    const auto integer = static_cast<double>(digits);
    const double scale = kDoublePowersOfTen[static_cast<std::size_t>(power < 0 ? -power : power)];
    if (power >= 0) {
        // A rounded product below 2^53 comes from an exact one below 2^53, which is a double.
        const double product = integer * scale;
        if (product < static_cast<double>(kExactDoubleIntegers)) return product;
        return std::nullopt;
    }
    const double quotient = integer / scale;
    const double remainder = std::fma(-quotient, scale, integer);  // the exact value less the quotient, x 10^k
    // Half the spacing of the doubles on the exact value's side of the quotient (a normal double
    // here: the quotient is at least 10^-22).
    const auto bits = std::bit_cast<std::uint64_t>(quotient);
    const std::uint64_t biased_exponent = bits >> kMantissaBits;
    const bool power_of_two = (bits & ((std::uint64_t{1} << kMantissaBits) - 1)) == 0;
    const double half_ulp = std::bit_cast<double>((biased_exponent - (kMantissaBits + 1)) << kMantissaBits);
    const double half_spacing = remainder < 0 && power_of_two ? half_ulp / 2 : half_ulp;
    // Within that, less an extended half-ulp (2^-11 of it) and a margin for this product's rounding.
    if (std::fabs(remainder) < half_spacing * scale * 0.999) return quotient;
    return std::nullopt;
}

// show_number's shape read in one pass: the digits gathered into one integer as they come, so
// that the value is one correctly rounded extended operation, as parse_number's quick path forms it.
std::optional<ShownNumber> read_quickly(std::string_view text, std::string_view separator) {
    Reader reader(text);
    const bool negative = reader.take('-');
    std::uint64_t digits = 0;
    std::int64_t significant = 0;  // digits gathered, leading zeros not counted
    std::int64_t fraction_length = 0;
    const auto gather = [&](std::string_view run) {
        for (const char c : run) {
            if (digits == 0 && c == '0') continue;
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++significant;
        }
    };
    const std::string_view integer_digits = reader.take_digits();
    gather(integer_digits);
    if (reader.take(separator)) {
        const std::string_view fraction_digits = reader.take_digits();
        gather(fraction_digits);
        fraction_length = static_cast<std::int64_t>(fraction_digits.size());
    }
    if (integer_digits.empty() || significant > kFastPathDigits) return std::nullopt;
    std::int64_t exponent = 0;
    if (reader.take('E')) {
        const std::optional<int> read = read_exponent(reader);
        if (!read) return std::nullopt;
        exponent = *read;
    }
    if (!reader.at_end()) return std::nullopt;
    const int places = places_shown(fraction_length, exponent);
    if (digits == 0) return ShownNumber{negative ? -0.0 : 0.0, places};
    const std::int64_t power = exponent - fraction_length;
    if (power > kFastPathPowerOfTen || power < -kFastPathPowerOfTen) return std::nullopt;
    if (const std::optional<double> in_doubles = magnitude_in_doubles(digits, power)) {
        return ShownNumber{negative ? -*in_doubles : *in_doubles, places};
    }
    const auto integer = static_cast<long double>(digits);
    const long double scale = kPowersOfTen[static_cast<std::size_t>(power < 0 ? -power : power)];
    const long double magnitude = power < 0 ? integer / scale : integer * scale;
    return ShownNumber{store(Extended(negative ? -magnitude : magnitude)), places};
}

}  // namespace

ShownNumber read_shown_number(std::string_view text, const DecimalSeparator& separator) {
    if (const std::optional<ShownNumber> quick = read_quickly(text, separator.text())) return *quick;
    const double value = parse_number(text, separator);
    const std::optional<NumberText> number = read_number_text(text, separator.text());
    return {value, places_shown(static_cast<std::int64_t>(number->fraction_digits.size()), number->exponent)};
}

}  // namespace vorlanex::numeric

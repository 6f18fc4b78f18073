#include "exact_decimal.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace vorlanex::numeric::testing {

namespace {

// Unsigned big integer in base 10^9, least significant limb first.
class BigInteger {
public:
    explicit BigInteger(std::uint64_t value) {
        do {
            limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    // Multiplies by base^count, in steps whose products stay far below 2^64.
    void multiply_by_power(std::uint32_t base, int count, std::uint32_t step_factor, int step) {
        for (; count >= step; count -= step) multiply(step_factor);
        for (; count > 0; --count) multiply(base);
    }

    std::string decimal() const {
        std::string text = std::to_string(limbs_.back());
        for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
            const std::string limb = std::to_string(*it);
            text += std::string(9 - limb.size(), '0') + limb;
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1000000000;
    std::vector<std::uint32_t> limbs_;
};

// Adds one unit in the last place of a digit string; true when the carry made it one digit
// longer ("999" -> "1000").
bool increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

// Rounds 0.digits x 10^exponent to `length` digits with the given decision on the dropped tail.
void round_to_length(std::string& digits, int& exponent, std::size_t length, bool round_up) {
    digits.resize(length);
    if (round_up && increment(digits)) {
        digits.pop_back();
        ++exponent;
    }
}

}  // namespace

ExactDecimal exact_decimal(double value) {
    if (value == 0) return {};
    int binary_exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &binary_exponent);
    const auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    binary_exponent -= 53;  // |value| = significand x 2^binary_exponent

    BigInteger integer(significand);
    int decimal_shift = 0;
    if (binary_exponent >= 0) {
        integer.multiply_by_power(2, binary_exponent, 1u << 29, 29);
    } else {
        // m x 2^-k = m x 5^k / 10^k
        integer.multiply_by_power(5, -binary_exponent, 1220703125u, 13);  // 5^13
        decimal_shift = binary_exponent;
    }
    ExactDecimal exact{integer.decimal(), 0};
    exact.exponent = static_cast<int>(exact.digits.size()) + decimal_shift;
    while (exact.digits.back() == '0') exact.digits.pop_back();
    return exact;
}

std::string reference_show_number(double value, std::string_view separator) {
    if (value == 0) return "0";
    ExactDecimal number = exact_decimal(value);
    std::string& digits = number.digits;
    int& exponent = number.exponent;

    // 18 significant digits, ties to even.
    if (digits.size() > 18) {
        const std::string tail = digits.substr(18);
        const bool above_half =
            tail[0] > '5' || (tail[0] == '5' && tail.find_first_not_of('0', 1) != std::string::npos);
        const bool tie = tail[0] == '5' && !above_half;
        const bool odd = (digits[17] - '0') % 2 == 1;
        round_to_length(digits, exponent, 18, above_half || (tie && odd));
    }
    digits.resize(18, '0');
    // 15 digits, up when the 16th to 18th digits are 500 or more.
    round_to_length(digits, exponent, 15, digits.substr(15) >= "500");
    while (digits.back() == '0') digits.pop_back();

    std::string text = std::signbit(value) ? "-" : "";
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            text += "0" + std::string(separator) + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
        } else if (digits.size() <= static_cast<std::size_t>(exponent)) {
            text += digits + std::string(static_cast<std::size_t>(exponent) - digits.size(), '0');
        } else {
            const auto integer_length = static_cast<std::size_t>(exponent);
            text += digits.substr(0, integer_length) + std::string(separator) + digits.substr(integer_length);
        }
    } else {
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += std::string(separator) + digits.substr(1);
        text += "E" + std::to_string(exponent - 1);
    }
    return text;
}

}  // namespace vorlanex::numeric::testing

#pragma once
// Extended: the arithmetic between two stores. Every value is an x87 80-bit long double
// (64-bit significand, round to nearest, ties to even). Each operation checks its result, so a
// step that would produce an infinity or a NaN raises an ArithmeticFault instead: no
// calculation can ever hold either. store() is the one way back to a double.
#include <cmath>
#include <compare>
#include <limits>

#include "numeric/faults.h"

namespace vorlanex::numeric {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the calculations need the x87 extended format (64-bit significand)");

class Extended {
public:
    // From a stored quantity (always finite) or an exact small constant such as 2 or 0.5.
    constexpr Extended(double value) : value_(value) {}  // NOLINT: implicit on purpose, formulas mix both
    // From an extended-precision constant such as 3.6L: the nearest 64-bit-significand value.
    constexpr explicit Extended(long double value) : value_(value) {}

    constexpr long double value() const { return value_; }

    friend Extended operator+(Extended a, Extended b) { return checked(a.value_ + b.value_); }
    friend Extended operator-(Extended a, Extended b) { return checked(a.value_ - b.value_); }
    friend Extended operator*(Extended a, Extended b) { return checked(a.value_ * b.value_); }
    friend Extended operator/(Extended a, Extended b) {
        if (b.value_ == 0) {
            throw ArithmeticFault(a.value_ == 0 ? ArithmeticFaultKind::InvalidOperation
                                                : ArithmeticFaultKind::DivisionByZero);
        }
        return checked(a.value_ / b.value_);
    }
    friend Extended operator-(Extended a) { return Extended(-a.value_); }
    friend Extended sqrt(Extended a) {
        if (a.value_ < 0) throw ArithmeticFault(ArithmeticFaultKind::InvalidOperation);
        return Extended(std::sqrt(a.value_));
    }
    friend Extended square(Extended a) { return a * a; }

    friend bool operator==(Extended a, Extended b) { return a.value_ == b.value_; }
    friend bool operator<(Extended a, Extended b) { return a.value_ < b.value_; }
    friend bool operator>(Extended a, Extended b) { return a.value_ > b.value_; }
    friend bool operator<=(Extended a, Extended b) { return a.value_ <= b.value_; }
    friend bool operator>=(Extended a, Extended b) { return a.value_ >= b.value_; }

private:
    // Operands are always finite, so an infinite result can only be an overflow and a NaN only
    // an invalid operation (kept for completeness: finite operands of + - * cannot make one).
    static Extended checked(long double result) {
        if (std::isnan(result)) throw ArithmeticFault(ArithmeticFaultKind::InvalidOperation);
        if (std::isinf(result)) throw ArithmeticFault(ArithmeticFaultKind::Overflow);
        return Extended(result);
    }

    long double value_;
};

// Rounds to the nearest double; a value beyond the double range is an overflow fault, a value
// below it becomes subnormal or 0 silently.
inline double store(Extended x) {
    const double stored = static_cast<double>(x.value());
    if (std::isinf(stored)) throw ArithmeticFault(ArithmeticFaultKind::Overflow);
    return stored;
}

}  // namespace vorlanex::numeric

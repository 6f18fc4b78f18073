#pragma once
// The two faults that stop a running calculation. They are the only exceptions in the program:
// thrown by the numeric layer and caught in one place, page::press_calculate, which turns them into
// the error box's text for whoever pressed "Výpočet" (the window, the command, the tests).
#include <exception>
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// Common base: message() is the fault's own text, without the error box's full stop.
class Fault : public std::exception {
public:
    explicit Fault(std::string message) : message_(std::move(message)) {}
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raised when a field's text is not a number (an empty field included), or when its value
// overflows even extended precision while it is being formed ("1e5000" is caught earlier, by
// the exponent limit). Message: "'<the whole text as typed>' is not a valid floating point value".
class ConversionFault : public Fault {
public:
    explicit ConversionFault(std::string_view text);
};

enum class ArithmeticFaultKind {
    InvalidOperation,  // square root of a negative number, 0 / 0, rounding outside 64-bit range
    DivisionByZero,    // a non-zero value divided by zero
    Overflow,          // beyond extended range, or beyond the double range when stored
};

// Raised by a step of a calculation; the message names the cause.
class ArithmeticFault : public Fault {
public:
    explicit ArithmeticFault(ArithmeticFaultKind kind);
    ArithmeticFaultKind kind() const noexcept { return kind_; }

private:
    ArithmeticFaultKind kind_;
};

// The text the error box shows for a fault message: a full stop is appended when the message's
// last character has a code above that of "." (so every fault message above gets one).
std::string error_box_text(std::string_view fault_message);

}  // namespace vorlanex::numeric

#include "numeric/faults.h"

namespace vorlanex::numeric {

namespace {
std::string conversion_message(std::string_view text) {
    constexpr std::string_view kTail = "' is not a valid floating point value";
    std::string message;
    message.reserve(text.size() + kTail.size() + 1);
    message += '\'';
    message.append(text);
    message.append(kTail);
    return message;
}

std::string arithmetic_message(ArithmeticFaultKind kind) {
    switch (kind) {
        case ArithmeticFaultKind::InvalidOperation: return "Invalid floating point operation";
        case ArithmeticFaultKind::DivisionByZero: return "Floating point division by zero";
        case ArithmeticFaultKind::Overflow: return "Floating point overflow";
    }
    return "Invalid floating point operation";
}
}  // namespace

ConversionFault::ConversionFault(std::string_view text) : Fault(conversion_message(text)) {}

ArithmeticFault::ArithmeticFault(ArithmeticFaultKind kind) : Fault(arithmetic_message(kind)), kind_(kind) {}

std::string error_box_text(std::string_view fault_message) {
    std::string text(fault_message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

}  // namespace vorlanex::numeric

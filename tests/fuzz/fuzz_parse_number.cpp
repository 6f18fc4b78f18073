// Any bytes as a field text, read with both usual separators: parse_number must give a finite
// double or raise one of its two faults with the right message, and never crash or hang.
// A number it reads must come back from its own shown text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "numeric/faults.h"
#include "numeric/parse_number.h"
#include "numeric/show_number.h"

namespace {

using vorlanex::numeric::ArithmeticFault;
using vorlanex::numeric::ArithmeticFaultKind;
using vorlanex::numeric::ConversionFault;
using vorlanex::numeric::DecimalSeparator;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_parse_number: %s\n", what);
    std::abort();
}

void check(std::string_view text, const DecimalSeparator& separator) {
    try {
        const double value = vorlanex::numeric::parse_number(text, separator);
        if (!std::isfinite(value)) fail("parse_number returned a value that is not finite");
        const std::string shown = vorlanex::numeric::show_number(value, separator);
        const double read_back = vorlanex::numeric::parse_number(shown, separator);
        if (std::fabs(read_back - value) > 1e-14 * std::fabs(value) + 0x1p-1074) {
            fail("a shown number does not read back to its value");
        }
    } catch (const ConversionFault& fault) {
        if (fault.message() != "'" + std::string(text) + "' is not a valid floating point value") {
            fail("conversion fault with the wrong message");
        }
    } catch (const ArithmeticFault& fault) {
        if (fault.kind() != ArithmeticFaultKind::Overflow) fail("arithmetic fault other than overflow");
    } catch (...) {
        fail("unexpected exception");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(text, DecimalSeparator(","));
    check(text, DecimalSeparator("."));
    return 0;
}

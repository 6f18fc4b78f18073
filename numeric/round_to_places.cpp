#include "numeric/round_to_places.h"

#include <cmath>
#include <cstdint>

namespace vorlanex::numeric {

namespace {
// The signed 64-bit range [-2^63, 2^63), as exact long double bounds.
constexpr long double kInt64Lowest = -0x1p63L;
constexpr long double kInt64Limit = 0x1p63L;

// 10^places as an exact double (exact for every places up to 22; the program uses 2 and 3).
double scale_for(int places) {
    double scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    return scale;
}
}  // namespace

double round_to_places(Extended x, int places) {
    const Extended scale = scale_for(places);
    const long double scaled = (x * scale).value();  // checked: an overflow throws here
    // rintl follows the current rounding mode, which set_arithmetic_mode() makes
    // round-to-nearest with ties to even.
    const long double nearest = std::rintl(scaled);
    if (!(nearest >= kInt64Lowest && nearest < kInt64Limit)) {
        throw ArithmeticFault(ArithmeticFaultKind::InvalidOperation);
    }
    // The rounded value passes through a 64-bit integer, so a negative value that rounds to
    // zero gives +0, not -0.
    const auto whole = static_cast<std::int64_t>(nearest);
    return store(Extended(static_cast<long double>(whole)) / scale);
}

}  // namespace vorlanex::numeric

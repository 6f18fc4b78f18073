#pragma once
#include "numeric/extended.h"

namespace vorlanex::numeric {

// x rounded to `places` decimal places (3, or 2 for a few speeds in km/h): p = x * 10^places at
// extended precision, rounded to an integer (ties to even), divided by 10^places and stored.
// x is a stored double or an unstored extended expression: a km/h value from a speed v in m/s
// is round_to_places(Extended{v} * kilometres_per_hour, 3), i.e. v * 3.6 * 1000 left to right.
//   12.3456 -> 12.346   0.0625 -> 0.062   0.1875 -> 0.188   (2 places) 0.125 -> 0.12, 0.375 -> 0.38
// Throws ArithmeticFault(InvalidOperation) when p rounds outside the signed 64-bit range.
double round_to_places(Extended x, int places);

}  // namespace vorlanex::numeric

#pragma once
// Speeds in km/h and m/s: km/h = m/s × 3.6 and m/s = km/h ÷ 3.6, with the factor held at extended
// precision and any rounding applied after the multiplication or division.
#include "numeric/extended.h"

namespace vorlanex::numeric {

// km/h per m/s: the nearest 64-bit-significand value to 3.6.
inline constexpr Extended kKilometresPerHourPerMetrePerSecond{3.6L};

// V / 3.6: a speed in km/h in m/s, not stored.
Extended metres_per_second(double kilometres_per_hour);

// A speed in m/s shown in km/h: v × 3.6 rounded to `places`, formed as v × 3.6 × 10^places.
double kilometres_per_hour_rounded(double metres_per_second, int places);

// A speed in km/h shown in m/s: V ÷ 3.6 rounded to `places`, formed as V ÷ 3.6 × 10^places.
double metres_per_second_rounded(double kilometres_per_hour, int places);

}  // namespace vorlanex::numeric

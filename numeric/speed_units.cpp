#include "numeric/speed_units.h"

#include "numeric/round_to_places.h"

namespace vorlanex::numeric {

Extended metres_per_second(double kilometres_per_hour) {
    return Extended{kilometres_per_hour} / kKilometresPerHourPerMetrePerSecond;
}

double kilometres_per_hour_rounded(double metres_per_second, int places) {
    return round_to_places(Extended{metres_per_second} * kKilometresPerHourPerMetrePerSecond, places);
}

double metres_per_second_rounded(double kilometres_per_hour, int places) {
    return round_to_places(metres_per_second(kilometres_per_hour), places);
}

}  // namespace vorlanex::numeric

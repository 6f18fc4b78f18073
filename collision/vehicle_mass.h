#pragma once
// The check of a vehicle mass that the EES and GEV pages make after they have read all their inputs.
#include <string_view>

#include "page/port.h"

namespace vorlanex::collision {

// The warning for a vehicle mass that is not above zero.
inline constexpr std::string_view kWrongMass = "Pozor, chybně zadaná hmotnost !";

// The mass used instead of one that is not above zero, in kg, and its text in the field.
inline constexpr double kFallbackMass = 1000;

// `mass`, read earlier from the field `field_id`, when it is above zero. Otherwise shows the
// warning, writes the fallback 1000 into the field and gives 1000.
double checked_mass(page::Port& page, std::string_view field_id, double mass);

}  // namespace vorlanex::collision

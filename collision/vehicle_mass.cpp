#include "collision/vehicle_mass.h"

#include "page/substitute.h"

namespace vorlanex::collision {

double checked_mass(page::Port& page, std::string_view field_id, double mass) {
    if (!(mass > 0)) return page::warn_and_substitute(page, field_id, kWrongMass, {kFallbackMass});
    return mass;
}

}  // namespace vorlanex::collision

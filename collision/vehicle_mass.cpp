#include "collision/vehicle_mass.h"

namespace vorlanex::collision {

double checked_mass(page::Port& page, std::string_view field_id, double mass) {
    if (!(mass > 0)) {
        page.warning(kWrongMass);
        page::write_number(page, field_id, kFallbackMass);
        return kFallbackMass;
    }
    return mass;
}

}  // namespace vorlanex::collision

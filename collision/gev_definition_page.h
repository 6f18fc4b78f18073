#pragma once
#include "page/page_definition.h"

namespace vorlanex::collision {

// "GEV - dle definice": the GEV of one vehicle from its definition, the speed change in the
// collision over the EES, from the EES and the speed before the collision. Inputs I1 and I2,
// results R1 (the speed in m/s) and R2 (the GEV, or "NENÍ STŘET" when the EES is 0).
const page::PageDefinition& gev_definition_page();

}  // namespace vorlanex::collision

#pragma once
#include "page/page_definition.h"

namespace vorlanex::collision {

// "Přepočet EES", sub-page "EES - na základě tuhostí vozidel": bounds of the EES of vehicle 1,
// which the photographs cannot settle, from the known EES range of vehicle 2 and the masses of
// both, under the limiting assumptions on the ratio of their stiffnesses. Inputs I1 and I2 the
// range of vehicle 2, I3 m1, I4 m2; results R1 and R2 the bounds for vehicle 1.
const page::PageDefinition& ees_stiffness_page();

}  // namespace vorlanex::collision

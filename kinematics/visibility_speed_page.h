#pragma once
#include "page/page_definition.h"

namespace vorlanex::kinematics {

// "Rychlost přim. rozhledu": the speed appropriate to visibility, the highest speed at which a
// vehicle may enter a stretch of length L (what the driver can see ahead) and still stop within
// it after reacting and building up the braking effect. Inputs I1 to I4, results R1 and R2.
const page::PageDefinition& visibility_speed_page();

}  // namespace vorlanex::kinematics

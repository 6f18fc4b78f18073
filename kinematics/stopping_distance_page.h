#pragma once
#include "page/page_definition.h"

namespace vorlanex::kinematics {

// "Dráha na zastavení": the stopping distance and time from an initial speed, forwards in time
// from the start of the driver's reaction to the stop, and whether, in which phase, how fast and
// when the vehicle reaches an obstacle ahead. Inputs I1 to I5, results R1 to R13, the collision
// report C1 to C9.
const page::PageDefinition& stopping_distance_page();

}  // namespace vorlanex::kinematics

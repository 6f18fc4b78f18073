#pragma once
#include "page/page_definition.h"

namespace vorlanex::kinematics {

// "Kinematika": the braking reconstruction before a collision, backwards in time from the
// run-out after the collision to the start of the driver's reaction. Inputs I1 to I8, results
// R1 to R18.
const page::PageDefinition& braking_page();

}  // namespace vorlanex::kinematics

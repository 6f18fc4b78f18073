#pragma once
#include "page/page_definition.h"

namespace vorlanex::kinematics {

// "Kinematika (+ meze)": the braking reconstruction for lower and upper bounds of every input.
// Input pairs J1 to J8, result pairs Q1 to Q18; each field id ends in ".lo" or ".hi".
const page::PageDefinition& braking_bounds_page();

}  // namespace vorlanex::kinematics

#pragma once
#include "page/page_definition.h"

namespace vorlanex::collision {

// "GEV - dle metodiky EVU": the GEV of a collision of two vehicles by the EVU method, from the
// collision impulse, the deformation energy and both masses. Inputs I1 to I4, result R1.
const page::PageDefinition& gev_evu_page();

}  // namespace vorlanex::collision

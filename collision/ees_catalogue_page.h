#pragma once
#include "page/page_definition.h"

namespace vorlanex::collision {

// "Přepočet EES", sub-page "EES": the EES read off a catalogue sheet for a vehicle of the
// catalogue mass, converted to the real vehicle of another mass so that mass × EES² stays the
// same. Inputs I1 catalogue mass, I2 real mass, I3 catalogue EES; results R1 real EES in km/h,
// R2 the same in m/s.
const page::PageDefinition& ees_catalogue_page();

}  // namespace vorlanex::collision

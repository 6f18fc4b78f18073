#pragma once
// What the GEV pages do with an input that fails its check once every input has been read: the
// warning, then the substitute, which the calculation goes on with and the input field shows.
#include <string_view>

#include "page/port.h"

namespace vorlanex::collision {

// Shows `message` in the warning box; once it is closed, writes `substitute` into the input field
// (show_number) and returns it as the input's new value.
double warned_substitute(page::Port& page, std::string_view field_id, std::string_view message, double substitute);

}  // namespace vorlanex::collision

#pragma once
// The texts the "?" buttons show in the warning box; "\r" separates their lines.
#include <string_view>

#include "page/layout.h"

namespace vorlanex::page {

std::string_view help_text(HelpText which);

}  // namespace vorlanex::page

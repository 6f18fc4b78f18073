#pragma once
// One press of a page's "Výpočet" button, for every front end: the window, the command, the tests
// and the benchmarks. The page's calculation runs on the port; a fault stops it there, and nothing
// written before it is taken back.
#include <optional>
#include <string>

#include "page/page_definition.h"

namespace vorlanex::page {

// Runs the calculation once. Returns the text of the error box when a fault stopped it, or
// nothing when the run completed (warnings allowed).
std::optional<std::string> press_calculate(const PageDefinition& page, Port& port);

}  // namespace vorlanex::page

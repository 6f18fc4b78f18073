#pragma once
// "Warn, substitute, show": what a page does with an input that fails its check and is replaced.
// The warning box comes first; once it is closed the substitute is written into the input field,
// so the field shows the value the calculation goes on with and the next press reads it again.
#include <string_view>

#include "page/port.h"

namespace vorlanex::page {

// A value that replaces an input, and how its field shows it: show_number of the value, or a
// fixed text written with "," for the decimal separator (shown with the page's separator).
struct Substitute {
    double value;
    std::string_view text = {};  // empty: show_number of the value
};

// Writes the substitute into its field and gives its value.
double substitute(Port& page, std::string_view field_id, const Substitute& substitute);

// The warning box, then the substitute written into its field; gives its value.
double warn_and_substitute(Port& page, std::string_view field_id, std::string_view warning,
                           const Substitute& substitute);

}  // namespace vorlanex::page

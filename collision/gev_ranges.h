#pragma once
// The ranges of GEV and the kinds of impact they mean, as both GEV pages show them.
#include <string_view>

namespace vorlanex::collision {

// The text of the "?" button beside a GEV result. The mixed "." and "," in the numbers are part
// of the text.
inline constexpr std::string_view kGevRanges =
    "GEV < 0,75        ráz se skluzem\r"
    "GEV  0.9 - 1,2    ráz bez skluzu\r"
    " \r"
    "GEV  0.75 - 0,9   ráz s mírným skluzem";

}  // namespace vorlanex::collision

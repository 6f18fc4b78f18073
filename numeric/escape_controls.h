#pragma once
// Text from the command line shown in a message on a terminal: a control character sent raw
// could move the cursor, change colours or retitle the window, and a byte that is no UTF-8
// could start such a sequence on a terminal of another encoding.
#include <string>
#include <string_view>

namespace vorlanex::numeric {

// `text` with every byte of a control character (C0, DEL, C1) and every byte that is not part of
// well-formed UTF-8 written as "\xNN"; all else is kept.
std::string with_controls_escaped(std::string_view text);

}  // namespace vorlanex::numeric

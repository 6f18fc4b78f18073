#pragma once
// The furniture both GEV pages share: their 73 × 21 fields and the bold formula symbols before
// them ("GEV =", "m      =" with a subscript under the blank).
#include <string_view>

#include "page/layout.h"

namespace vorlanex::collision {

constexpr page::Rect gev_field_at(int left, int top) { return {left, top, 73, 21}; }

// A symbol of the formula before a field, bold in the 13-pixel face.
constexpr page::Label symbol_label(std::string_view text, int left, int top) {
    return {text, left, top, page::kBoldUnitFont};
}

// A subscript of a symbol ("DEF", "1"), small and bold, set into the blank the symbol keeps for it.
constexpr page::Label subscript_label(std::string_view text, int left, int top) {
    return page::bold_text(text, left, top);
}

}  // namespace vorlanex::collision

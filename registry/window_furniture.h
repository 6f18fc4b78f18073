#pragma once
// The main window's furniture, the same for every front end that draws it: its caption, its client
// size and place on the screen, and the size of a page tree nested in a page. In page pixels.
#include <string_view>

#include "page/layout.h"
#include "version/version.h"

namespace vorlanex::registry {

// The caption of the main window (the blanks before the name are part of it).
inline constexpr std::string_view kWindowCaption = "  Vorlanex (v " VORLANEX_VERSION_TEXT ")";

// The page tree fills the client area; with the frame the window is 809 × 420.
inline constexpr page::Rect kClientArea{33, 47, 801, 393};

// A page that holds sub-pages holds them in a page tree of this size at its top-left corner.
inline constexpr page::Rect kNestedPageTree{0, 0, 793, 369};

// The caption of the calculation button every page has.
inline constexpr std::string_view kCalculateCaption = "Výpočet";

}  // namespace vorlanex::registry

#pragma once
// The page tree of the main window: six top-level pages, two of them holding two sub-pages each,
// with their tab captions (the spaces in them widen the tabs) and the calculation page each holds.
#include <span>
#include <string_view>

#include "page/page_definition.h"

namespace vorlanex::registry {

struct SubPage {
    std::string_view caption;
    const page::PageDefinition* page;  // the calculation page it holds
};

struct TopPage {
    std::string_view caption;
    const page::PageDefinition* page;    // for a page without sub-pages
    std::span<const SubPage> sub_pages;  // empty for a page without sub-pages
    int active_sub_page = 0;             // the sub-page shown when the page is first opened
    // "?" buttons of the program rather than of the calculation (the information about the
    // program), placed on this page beside the calculation's own.
    std::span<const page::HelpButton> program_help_buttons = {};
};

// In tab order; the window opens on the first.
std::span<const TopPage> page_tree();

// Every calculation page, in tab order of the tree.
std::span<const page::PageDefinition* const> calculation_pages();

// The calculation page with this key ("kinematika", ...), or nullptr.
const page::PageDefinition* find_page(std::string_view key);

}  // namespace vorlanex::registry

#pragma once
#include <string_view>

#include "page/layout.h"
#include "page/port.h"

namespace vorlanex::page {

// One calculation page: the key the command-line companion knows it by, its layout, and its one
// calculation, the click action of its "Výpočet" button.
struct PageDefinition {
    std::string_view key;
    const PageLayout& layout;
    void (*calculate)(Port& page);

    // The field with this id, or nullptr.
    const Field* find_field(std::string_view id) const;
};

}  // namespace vorlanex::page

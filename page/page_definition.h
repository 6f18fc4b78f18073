#pragma once
#include <span>
#include <string_view>

#include "page/layout.h"
#include "page/path_time_diagram.h"
#include "page/port.h"

namespace vorlanex::page {

// A text typed into a field, with "," for the decimal separator.
struct FieldText {
    std::string_view id;
    std::string_view text;
};

// One calculation page: the key the command-line companion knows it by, its layout, its one
// calculation (the click action of its "Výpočet" button), its worked example (the inputs an
// expert would type to see every result of the page) and, for a braking page, the fields its
// path–time diagram takes.
struct PageDefinition {
    std::string_view key;
    const PageLayout& layout;
    void (*calculate)(Port& page);
    std::span<const FieldText> worked_example = {};
    const PathTimeDiagramFields* path_time_diagram = nullptr;

    // The field with this id, or nullptr.
    const Field* find_field(std::string_view id) const;
};

}  // namespace vorlanex::page

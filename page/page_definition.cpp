#include "page/page_definition.h"

namespace vorlanex::page {

const Field* PageDefinition::find_field(std::string_view id) const {
    for (const Field& field : layout.fields) {
        if (field.id == id) return &field;
    }
    return nullptr;
}

}  // namespace vorlanex::page

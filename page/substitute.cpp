#include "page/substitute.h"

#include <string>

#include "page/layout.h"

namespace vorlanex::page {

double substitute(Port& page, std::string_view field_id, const Substitute& substitute) {
    if (substitute.text.empty()) {
        write_number(page, field_id, substitute.value);
    } else {
        page.set_text(field_id, with_separator(substitute.text, page.separator()));
    }
    return substitute.value;
}

double warn_and_substitute(Port& page, std::string_view field_id, std::string_view warning,
                           const Substitute& substitute) {
    page.warning(warning);
    return page::substitute(page, field_id, substitute);
}

}  // namespace vorlanex::page

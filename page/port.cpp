#include "page/port.h"

#include "numeric/parse_number.h"
#include "numeric/round_to_places.h"
#include "numeric/show_number.h"

namespace vorlanex::page {

double read_number(const Port& page, std::string_view field_id) {
    return numeric::parse_number(page.text(field_id), page.separator());
}

void write_number(Port& page, std::string_view field_id, double value) {
    page.set_text(field_id, numeric::show_number(value, page.separator()));
}

void write_rounded(Port& page, std::string_view field_id, numeric::Extended value, int places) {
    write_number(page, field_id, numeric::round_to_places(value, places));
}

void clear_field(Port& page, std::string_view field_id) { page.set_text(field_id, ""); }

}  // namespace vorlanex::page

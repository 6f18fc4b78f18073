#include "collision/warned_substitute.h"

namespace vorlanex::collision {

double warned_substitute(page::Port& page, std::string_view field_id, std::string_view message, double substitute) {
    page.warning(message);
    page::write_number(page, field_id, substitute);
    return substitute;
}

}  // namespace vorlanex::collision

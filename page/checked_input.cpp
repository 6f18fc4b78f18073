#include "page/checked_input.h"

namespace vorlanex::page {

bool passes(Test test, double value) { return test == Test::AtLeastZero ? value >= 0 : value > 0; }

double read_checked(Port& page, std::string_view field_id, const InputCheck& check, SubstituteShown shown) {
    double value = read_number(page, field_id);
    if (!passes(check.test, value)) {
        page.warning(check.message);
        if (check.substitutes) {
            value = check.substitute;
            if (shown == SubstituteShown::InField) write_number(page, field_id, value);
        }
    }
    return value;
}

}  // namespace vorlanex::page

#include "page/checked_input.h"

#include "page/substitute.h"

namespace vorlanex::page {

bool passes(Test test, double value) { return test == Test::AtLeastZero ? value >= 0 : value > 0; }

double read_checked(Port& page, std::string_view field_id, const InputCheck& check, SubstituteShown shown) {
    const double value = read_number(page, field_id);
    if (passes(check.test, value)) return value;
    if (check.substitutes && shown == SubstituteShown::InField) {
        return warn_and_substitute(page, field_id, check.message, {check.substitute});
    }
    page.warning(check.message);
    return check.substitutes ? check.substitute : value;
}

}  // namespace vorlanex::page

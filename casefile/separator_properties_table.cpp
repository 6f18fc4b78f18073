// The character properties of the separator check from the table generated with ICU.
#include "casefile/separator_properties.h"
#include "casefile/separator_table.h"

namespace vorlanex::casefile {

bool shows_alone_unlike_number_syntax(char32_t code_point) {
    return numeric::in_code_point_ranges(separator_table(), code_point);
}

}  // namespace vorlanex::casefile

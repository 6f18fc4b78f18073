#include "casefile/separator_check.h"

#include "casefile/separator_properties.h"
#include "numeric/decimal_separator.h"
#include "numeric/utf8.h"

namespace vorlanex::casefile {

bool can_be_chosen_separator(std::string_view character) {
    return numeric::can_be_decimal_separator(character) &&
           shows_alone_unlike_number_syntax(numeric::decode_utf8(character));
}

}  // namespace vorlanex::casefile

#include "page/layout.h"

namespace vorlanex::page {

std::string with_separator(std::string_view text, const numeric::DecimalSeparator& separator) {
    std::string shown;
    for (char c : text) {
        if (c == ',') {
            shown += separator.text();
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string default_text(const Field& field, const numeric::DecimalSeparator& separator) {
    return with_separator(field.default_text, separator);
}

}  // namespace vorlanex::page

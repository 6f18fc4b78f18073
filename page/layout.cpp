#include "page/layout.h"

namespace vorlanex::page {

std::string default_text(const Field& field, const numeric::DecimalSeparator& separator) {
    std::string text;
    for (char c : field.default_text) {
        if (c == ',') {
            text += separator.text();
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace vorlanex::page

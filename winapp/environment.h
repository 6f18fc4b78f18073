#pragma once
// What the window needs from the numeric environment set up at program start.
#include <string>

#include "numeric/decimal_separator.h"

namespace vorlanex::winapp {

struct Environment {
    numeric::DecimalSeparator separator;
    std::wstring application_title;  // the title of the warning and error boxes
};

}  // namespace vorlanex::winapp

#pragma once
// What the window needs from the numeric environment set up at program start.
#include <QString>

#include "numeric/decimal_separator.h"

namespace vorlanex::app {

struct Environment {
    numeric::DecimalSeparator separator;
    QString application_title;  // the title of the warning and error boxes
};

}  // namespace vorlanex::app

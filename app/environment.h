#pragma once
// What the window needs from the numeric environment set up at program start.
#include <QString>
#include <Qt>

#include "numeric/decimal_separator.h"

namespace vorlanex::app {

struct Environment {
    numeric::DecimalSeparator separator;
    QString application_title;  // the title of the warning and error boxes
    // The reading order of the user's locale: the window's texts run in it, its layout never turns.
    Qt::LayoutDirection reading_order = Qt::LeftToRight;
};

}  // namespace vorlanex::app

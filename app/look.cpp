#include "app/look.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace vorlanex::app {

void apply_window_look() {
    // The face the layout was designed for; Liberation Sans has matching metrics where it is missing.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(style);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace vorlanex::app

// Vorlanex: the main window's program. Sets up the numeric environment, builds the window with
// its whole page tree, and runs until the window is closed.
#include <QApplication>
#include <QFont>
#include <cstdio>

#include "app/accessibility_guard.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "numeric/application_title.h"
#include "numeric/arithmetic_mode.h"
#include "version/version.h"

int main(int argc, char** argv) {
    using namespace vorlanex;
    numeric::set_arithmetic_mode();
    const std::string title = numeric::application_title(numeric::own_executable_path(argc > 0 ? argv[0] : ""));
    app::Environment environment{numeric::DecimalSeparator::from_regional_settings(), QString::fromStdString(title)};

    app::guard_accessibility_properties_calls();
    QApplication application(argc, argv);
    QApplication::setApplicationName(environment.application_title);
    QApplication::setApplicationVersion(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
    // Ties the window to its desktop entry (and so to its icon and name in the task bar).
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(kApplicationId.data(), static_cast<qsizetype>(kApplicationId.size())));
    app::apply_window_look();
    if (const QString note = app::layout_font_note(); !note.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(note));
    environment.reading_order = app::locale_reading_order();

    app::TForm1 window(environment);
    window.show();
    return QApplication::exec();
}

#include "app/window_program.h"

#include <QApplication>
#include <cstdio>

#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "numeric/application_title.h"
#include "numeric/arithmetic_mode.h"
#include "qtshared/qt_text.h"
#include "version/version.h"

namespace vorlanex::app {

int run_window_program(int argc, char** argv, const std::function<void(TForm1&)>& after_show) {
    numeric::set_arithmetic_mode();
    const std::string title = numeric::application_title(numeric::own_executable_path(argc > 0 ? argv[0] : ""));
    Environment environment{numeric::DecimalSeparator::from_regional_settings(), QString::fromStdString(title)};

    QApplication application(argc, argv);
    QApplication::setApplicationName(environment.application_title);
    QApplication::setApplicationVersion(qtshared::qt_text(kVersion));
    // Ties the window to its desktop entry (and so to its icon and name in the task bar).
    QGuiApplication::setDesktopFileName(qtshared::qt_text(kApplicationId));
    apply_window_look();
    if (const QString note = layout_font_note(); !note.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(note));
    environment.reading_order = locale_reading_order();

    TForm1 window(environment);
    window.show();
    if (after_show) after_show(window);
    return QApplication::exec();
}

}  // namespace vorlanex::app

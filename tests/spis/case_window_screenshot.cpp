// Renders the case window offscreen with a case open, its first calculation selected, to a PNG:
//   case_window_screenshot CASE_FILE OUTPUT.png
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "numeric/arithmetic_mode.h"
#include "spis/case_window.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: case_window_screenshot CASE_FILE OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vorlanex::numeric::set_arithmetic_mode();
    QApplication application(argc, argv);
    vorlanex::spis::CaseWindow window(vorlanex::numeric::DecimalSeparator(","));
    if (const auto problem = window.open_case(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(*problem));
        return 1;
    }
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

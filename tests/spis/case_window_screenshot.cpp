// Renders the case window offscreen with a case open, its first calculation selected, to a PNG:
//   case_window_screenshot CASE_FILE OUTPUT.png [--tolerance]
// With --tolerance the right side shows the first calculation's tolerance run, finished.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPixmap>
#include <QTabWidget>
#include <cstdio>
#include <string_view>

#include "numeric/arithmetic_mode.h"
#include "spis/case_window.h"
#include "spis/diagram_panel.h"
#include "spis/tolerance_tab.h"

namespace {

// Shows the tolerance tab of the selected calculation and waits until its run has finished.
void run_tolerance(vorlanex::spis::CaseWindow& window) {
    vorlanex::spis::ToleranceTab* tab = window.tolerance_tab();
    for (QWidget* holder = tab->parentWidget(); holder; holder = holder->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(holder)) {
            tabs->setCurrentWidget(tab);
            break;
        }
    }
    QEventLoop loop;
    QObject::connect(tab, &vorlanex::spis::ToleranceTab::finished, &loop, &QEventLoop::quit);
    tab->start();
    loop.exec();
    // The histogram of the speed before the collision (R4), which the EES's tolerance moves.
    if (auto* choice = tab->findChild<QComboBox*>()) choice->setCurrentIndex(3);
}

// The diagram is drawn on a thread of its own: waits until its picture is in the window.
void wait_for_the_diagram(const vorlanex::spis::CaseWindow& window) {
    QElapsedTimer waited;
    waited.start();
    while (!window.diagram_panel()->drawn() && waited.elapsed() < 10'000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    const bool tolerance = argc == 4 && std::string_view(argv[3]) == "--tolerance";
    if (argc != 3 && !tolerance) {
        std::fprintf(stderr, "usage: case_window_screenshot CASE_FILE OUTPUT.png [--tolerance]\n");
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
    if (tolerance) {
        window.select_calculation(0);  // the braking reconstruction, with a tolerance of its EES
        run_tolerance(window);
        QApplication::processEvents();
    }
    wait_for_the_diagram(window);
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

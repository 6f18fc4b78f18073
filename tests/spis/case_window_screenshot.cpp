// Renders the case window offscreen with a case open, its first calculation selected, to a PNG:
//   case_window_screenshot CASE_FILE OUTPUT.png [--tolerance | --sweep | --export-pdf | --enlarged | --guide]
//                          [--size WxH] [--row N]
// The window is 1280 × 800 unless --size gives another size ("1024x768"); with --enlarged the picture
// is the diagram's own window ("Zvětšit…") instead; --row selects the calculation at row N (from 0;
// the first unless given).
// With --tolerance the right side shows the first calculation's tolerance run, finished; with
// --sweep its sweep of the run-out speed; with --export-pdf the window has exported its protocol
// to OUTPUT.pdf (through vorlanex-protocol of this build) and shows what it says then; with --guide
// the picture is of the guide's window (F1), opened at the part on the case window.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpression>
#include <QSize>
#include <QTabWidget>
#include <cstdio>
#include <string_view>

#include "numeric/arithmetic_mode.h"
#include "spis/case_window.h"
#include "spis/diagram_panel.h"
#include "spis/guide_window.h"
#include "spis/sweep_tab.h"
#include "spis/tolerance_tab.h"

namespace {

// Brings `tab` to the front of the tabs holding it.
void show_tab(QWidget* tab) {
    for (QWidget* holder = tab->parentWidget(); holder; holder = holder->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(holder)) {
            tabs->setCurrentWidget(tab);
            break;
        }
    }
}

// Shows the tolerance tab of the selected calculation and waits until its run has finished.
void run_tolerance(vorlanex::spis::CaseWindow& window) {
    vorlanex::spis::ToleranceTab* tab = window.tolerance_tab();
    show_tab(tab);
    QEventLoop loop;
    QObject::connect(tab, &vorlanex::spis::ToleranceTab::finished, &loop, &QEventLoop::quit);
    tab->start();
    loop.exec();
    // The histogram of the speed before the collision (R4), which the EES's tolerance moves.
    if (auto* choice = tab->findChild<QComboBox*>()) choice->setCurrentIndex(3);
}

// Shows the sweep tab of the selected calculation: the run-out speed (I1) from 10 to 30 km/h in 20
// steps, the speed after the collision (R2) drawn.
void run_sweep(vorlanex::spis::CaseWindow& window) {
    vorlanex::spis::SweepTab* tab = window.sweep_tab();
    show_tab(tab);
    tab->field_choice()->setCurrentIndex(tab->field_choice()->findData(QStringLiteral("I1")));
    tab->from_edit()->setText(QStringLiteral("10"));
    tab->to_edit()->setText(QStringLiteral("30"));
    tab->steps_edit()->setText(QStringLiteral("20"));
    tab->run();
    tab->chart_choice()->setCurrentIndex(tab->chart_choice()->findData(QStringLiteral("R2")));
}

// Exports the protocol beside the picture and waits for the window to have written it.
bool export_pdf(vorlanex::spis::CaseWindow& window, const QString& picture) {
    window.set_protocol_program(QStringLiteral(VORLANEX_PROTOCOL_PROGRAM));
    QString pdf = picture;
    pdf.replace(QRegularExpression(QStringLiteral("\\.png$")), QStringLiteral(".pdf"));
    QEventLoop loop;
    QString problem;
    QObject::connect(&window, &vorlanex::spis::CaseWindow::protocol_finished, &loop, [&](const QString& said) {
        problem = said;
        loop.quit();
    });
    if (const auto refused = window.export_pdf(pdf)) problem = *refused;
    if (problem.isEmpty()) loop.exec();
    if (!problem.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(problem));
    return problem.isEmpty();
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

// "1024x768" read as a size; an invalid size for anything else.
QSize size_of(std::string_view text) {
    const QStringList parts =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).split(QLatin1Char('x'));
    if (parts.size() != 2) return {};
    bool width_read = false, height_read = false;
    const QSize size(parts[0].toInt(&width_read), parts[1].toInt(&height_read));
    return width_read && height_read && size.width() > 0 && size.height() > 0 ? size : QSize();
}

int main(int argc, char** argv) {
    bool tolerance = false, sweep = false, pdf = false, enlarged = false, guide = false, understood = argc >= 3;
    QSize size(1280, 800);
    int row = 0;
    for (int i = 3; i < argc && understood; ++i) {
        const std::string_view option(argv[i]);
        if (option == "--tolerance") {
            tolerance = true;
        } else if (option == "--sweep") {
            sweep = true;
        } else if (option == "--export-pdf") {
            pdf = true;
        } else if (option == "--enlarged") {
            enlarged = true;
        } else if (option == "--guide") {
            guide = true;
        } else if (option == "--size" && i + 1 < argc) {
            size = size_of(argv[++i]);
            understood = size.isValid();
        } else if (option == "--row" && i + 1 < argc) {
            row = QString::fromLocal8Bit(argv[++i]).toInt(&understood);
        } else {
            understood = false;
        }
    }
    if (!understood || tolerance + sweep + pdf + enlarged + guide > 1) {
        std::fprintf(stderr,
                     "usage: case_window_screenshot CASE_FILE OUTPUT.png [--tolerance | --sweep | --export-pdf | "
                     "--enlarged | --guide] [--size WxH] [--row N]\n");
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
    window.resize(size);
    window.show();
    QApplication::processEvents();
    window.select_calculation(row);
    if (tolerance) {
        run_tolerance(window);
        QApplication::processEvents();
    }
    if (sweep) {
        run_sweep(window);
        QApplication::processEvents();
    }
    wait_for_the_diagram(window);
    if (pdf && !export_pdf(window, QString::fromLocal8Bit(argv[2]))) return 1;
    QApplication::processEvents();
    if (enlarged) {
        QWidget* diagram = window.diagram_panel()->enlarge();
        if (!diagram) return 1;
        QElapsedTimer waited;  // drawn on a thread of its own
        waited.start();
        while (waited.elapsed() < 2'000) QApplication::processEvents(QEventLoop::AllEvents, 50);
        return diagram->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if (guide) {
        vorlanex::spis::GuideWindow* shown = window.show_guide(QStringLiteral("okno-případu-vorlanex-spis"));
        QApplication::processEvents();
        return shown->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

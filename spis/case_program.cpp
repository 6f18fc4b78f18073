#include "spis/case_program.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include "numeric/arithmetic_mode.h"
#include "qtshared/czech_qt_texts.h"
#include "qtshared/qt_text.h"
#include "spis/case_icons.h"
#include "spis/case_window.h"
#include "version/version.h"

namespace vorlanex::spis {

int run_case_program(int argc, char** argv, const std::function<void(CaseWindow&)>& after_show) {
    numeric::set_arithmetic_mode();
    const numeric::DecimalSeparator separator = numeric::DecimalSeparator::from_regional_settings();
    QApplication application(argc, argv);
    // The settings (recent files, the window's geometry) and the recovery copies live under these.
    QApplication::setOrganizationName(QStringLiteral("Vorlanex"));
    QApplication::setApplicationName(QStringLiteral("Vorlanex Spis"));
    QApplication::setApplicationVersion(qtshared::qt_text(kVersion));
    QApplication::setDesktopFileName(QStringLiteral("io.github.vorlanex.spis"));
    // The icon of the window itself, for a desktop that does not look it up by the desktop entry (X11).
    QApplication::setWindowIcon(case_window_icon());
    if (!qtshared::load_czech_qt_texts(application)) {
        qWarning(
            "vorlanex-spis: Qt's Czech translation (qtbase_cs, Debian: qt6-translations-l10n) was not found; "
            "Qt's own texts stay English");
    }

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Případ znalce: výpočty kalkulátoru Vorlanex v jednom souboru"));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("SOUBOR"), QStringLiteral("případ (.vorlanex), který se otevře"));
    arguments.process(application);

    CaseWindow window(separator);
    window.show();
    if (after_show) after_show(window);
    // A recovered case comes before the file named: that one stays on disk and opens from the menu.
    const bool recovered = window.offer_recovery([&window](const QString& written_at) {
        return QMessageBox::question(&window, QStringLiteral("Obnovit neuložený případ?"),
                                     QStringLiteral("Vorlanex Spis nebyl minule řádně ukončen. Zůstala záložní kopie "
                                                    "neuloženého případu z %1.\n\nObnovit ji? (Ne: kopie se zahodí.)")
                                         .arg(written_at)) == QMessageBox::Yes;
    });
    if (!recovered && !arguments.positionalArguments().isEmpty()) {
        const QString path = arguments.positionalArguments().constFirst();
        if (const auto problem = window.open_case(path)) {
            QTimer::singleShot(0, &window, [&window, problem] {
                QMessageBox::warning(&window, QStringLiteral("Vorlanex Spis"), *problem);
            });
        }
    }
    return QApplication::exec();
}

}  // namespace vorlanex::spis

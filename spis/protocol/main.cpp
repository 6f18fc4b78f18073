// vorlanex-protocol: the case report (or any report of vorlanex-calc) from its HTML file to an A4
// PDF with numbered pages, or on paper. Vorlanex Spis runs it for "Exportovat protokol do PDF" and
// "Tisk", so that Qt WebEngine, the engine that prints the HTML as Chromium does, is loaded only
// then, in a process of its own, and costs the window nothing at its start.
#include <unistd.h>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdio>

#include "spis/protocol/protocol_command_line.h"
#include "spis/protocol/protocol_job.h"
#include "version/version.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build checks this program's own code, and it hosts Chromium, which is not built for
// AddressSanitizer: Chromium frees some objects through a base class of another size (it allocates
// with its own allocator, which does not mind) and leaves its singletons to the end of the process.
// Neither is this program's, so neither stops it; everything else AddressSanitizer finds still does.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0:detect_leaks=0"; }
#endif

namespace {

using vorlanex::spis::protocol::PrinterSettings;
namespace command_line = vorlanex::spis::protocol::command_line;

// The environment WebEngine reads at its start. The program shows nothing, so it needs no display:
// the offscreen platform, and no GPU process. Chromium's sandbox cannot run as root, where
// Chromium refuses to start with it.
void prepare_environment() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-gpu")) flags = (flags + " --disable-gpu").trimmed();
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

int usage_error(const QString& problem) {
    std::fprintf(stderr, "vorlanex-protocol: %s\n", problem.toUtf8().constData());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    prepare_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // WebEngine's report of its graphics set-up would bury the one line that says what failed
    // (QT_LOGGING_RULES still turns it on).
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext=false"));
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vorlanex-protocol"));
    QGuiApplication::setApplicationVersion(QStringLiteral(VORLANEX_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Protokol Vorlanex z HTML do PDF (A4, číslované strany) nebo na tiskárnu."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption html(QString(command_line::kHtml), QStringLiteral("Soubor HTML protokolu."),
                                  QStringLiteral("SOUBOR"));
    const QCommandLineOption pdf(QString(command_line::kPdf), QStringLiteral("Kam zapsat PDF."),
                                 QStringLiteral("SOUBOR"));
    const QCommandLineOption pages(QString(command_line::kPages), QStringLiteral("Jen tyto strany, například 1-3,5."),
                                   QStringLiteral("STRANY"));
    const QCommandLineOption printer(QString(command_line::kPrinter), QStringLiteral("Vytisknout na tiskárně CUPS."),
                                     QStringLiteral("TISKÁRNA"));
    const QCommandLineOption copies(QString(command_line::kCopies), QStringLiteral("Počet kopií (1)."),
                                    QStringLiteral("POČET"), QStringLiteral("1"));
    const QCommandLineOption collate(QString(command_line::kCollate), QStringLiteral("Kopie kompletovat."));
    const QCommandLineOption grayscale(QString(command_line::kGrayscale), QStringLiteral("Tisknout ve stupních šedi."));
    const QCommandLineOption duplex(QString(command_line::kDuplex),
                                    QStringLiteral("Oboustranně: none, long (po delší hraně), short."),
                                    QStringLiteral("STRANY"), QStringLiteral("none"));
    const QCommandLineOption media(QString(command_line::kMedia), QStringLiteral("Papír tiskárny, například A4."),
                                   QStringLiteral("PAPÍR"));
    const QCommandLineOption title(QString(command_line::kTitle), QStringLiteral("Název tiskové úlohy."),
                                   QStringLiteral("NÁZEV"), QStringLiteral("Protokol"));
    parser.addOptions({html, pdf, pages, printer, copies, collate, grayscale, duplex, media, title});
    parser.process(application);
    if (!parser.positionalArguments().isEmpty()) {
        return usage_error(QStringLiteral("Nečekaný argument „%1“.").arg(parser.positionalArguments().constFirst()));
    }

    std::optional<PrinterSettings> settings;
    if (parser.isSet(printer)) {
        settings.emplace();
        settings->printer = parser.value(printer).toStdString();
        bool number = false;
        settings->copies = parser.value(copies).toInt(&number);
        if (!number) settings->copies = 0;
        settings->collate = parser.isSet(collate);
        settings->grayscale = parser.isSet(grayscale);
        const QString sides = parser.value(duplex);
        if (sides == command_line::kLongEdge) {
            settings->sides = "two-sided-long-edge";
        } else if (sides == command_line::kShortEdge) {
            settings->sides = "two-sided-short-edge";
        } else if (sides != command_line::kOneSide) {
            return usage_error(QStringLiteral("--duplex je none, long nebo short, ne „%1“.").arg(sides));
        }
        settings->media = parser.value(media).toStdString();
        settings->title = parser.value(title).toStdString();
    }
    const auto parsed =
        vorlanex::spis::protocol::request_from(parser.value(html), parser.value(pdf), parser.value(pages), settings);
    if (!parsed.problem.isEmpty()) return usage_error(parsed.problem);

    vorlanex::spis::protocol::ProtocolJob job(parsed.request);
    QObject::connect(
        &job, &vorlanex::spis::protocol::ProtocolJob::finished, &application,
        [](int exit_code) { QCoreApplication::exit(exit_code); }, Qt::QueuedConnection);
    QTimer::singleShot(0, &job, &vorlanex::spis::protocol::ProtocolJob::start);
    return QGuiApplication::exec();
}

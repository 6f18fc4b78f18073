// vorlanex-protocol: the case report (or any report of vorlanex-calc) from its HTML file to an A4
// PDF with numbered pages, or on paper. Vorlanex Spis runs it for "Exportovat protokol do PDF" and
// "Tisk"; it prints the HTML with Debian's Chromium, headless and sealed, in parts for a large
// protocol, and reports its progress on standard output ("progress 3/12").
#include <signal.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "spis/protocol/protocol_command_line.h"
#include "spis/protocol/protocol_job.h"
#include "version/version.h"

namespace {

using vorlanex::spis::protocol::PrinterSettings;
namespace command_line = vorlanex::spis::protocol::command_line;

// The write end of the pipe that turns SIGTERM into an event of the loop.
int termination_pipe[2] = {-1, -1};

void on_termination(int /*signal*/) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(termination_pipe[1], &byte, 1);
}

// SIGTERM (the case window stopping the protocol) ends the event loop, so that the browsers are
// ended and their temporary folders, which hold the protocol, removed as the program ends.
void end_cleanly_on_termination(QCoreApplication& application) {
    if (::pipe(termination_pipe) != 0) return;
    auto* notifier = new QSocketNotifier(termination_pipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        std::fprintf(stderr, "vorlanex-protocol: Vytváření protokolu bylo zastaveno.\n");
        QCoreApplication::exit(1);
    });
    struct sigaction action {};
    action.sa_handler = on_termination;
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
}

int usage_error(const QString& problem) {
    std::fprintf(stderr, "vorlanex-protocol: %s\n", problem.toUtf8().constData());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlanex-protocol"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORLANEX_VERSION_TEXT));
    end_cleanly_on_termination(application);

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
    return QCoreApplication::exec();
}

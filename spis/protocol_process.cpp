#include "spis/protocol_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QPrinter>

namespace vorlanex::spis {

namespace {

// Of a crash's output, what a message box can show.
constexpr qsizetype kLastLinesShown = 6;

}  // namespace

QString protocol_program_beside_window() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kProtocolProgramName));
}

PrintChoice print_choice(const QPrinter& printer) {
    PrintChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        choice.output_file = printer.outputFileName();
    } else {
        choice.printer = printer.printerName();
    }
    choice.copies = printer.copyCount();
    choice.collate = printer.collateCopies();
    choice.grayscale = printer.colorMode() == QPrinter::GrayScale;
    switch (printer.duplex()) {
        case QPrinter::DuplexNone: choice.duplex = PrintChoice::Duplex::None; break;
        case QPrinter::DuplexShortSide: choice.duplex = PrintChoice::Duplex::ShortSide; break;
        // The protocol is portrait: "automatic" turns over the long edge.
        case QPrinter::DuplexAuto:
        case QPrinter::DuplexLongSide: choice.duplex = PrintChoice::Duplex::LongSide; break;
    }
    choice.media = printer.pageLayout().pageSize().key();
    if (printer.printRange() == QPrinter::PageRange) choice.pages = printer.pageRanges().toString();
    return choice;
}

QStringList print_arguments(const PrintChoice& choice, const QString& title) {
    QStringList arguments;
    if (!choice.pages.isEmpty()) arguments << QStringLiteral("--pages") << choice.pages;
    if (!choice.output_file.isEmpty()) return arguments;  // a file: copies, paper and sides are a printer's
    arguments << QStringLiteral("--printer") << choice.printer << QStringLiteral("--copies")
              << QString::number(choice.copies);
    if (choice.collate) arguments << QStringLiteral("--collate");
    if (choice.grayscale) arguments << QStringLiteral("--grayscale");
    const QString sides = choice.duplex == PrintChoice::Duplex::LongSide    ? QStringLiteral("long")
                          : choice.duplex == PrintChoice::Duplex::ShortSide ? QStringLiteral("short")
                                                                            : QStringLiteral("none");
    arguments << QStringLiteral("--duplex") << sides;
    if (!choice.media.isEmpty()) arguments << QStringLiteral("--media") << choice.media;
    return arguments << QStringLiteral("--title") << title;
}

QString protocol_problem(const QByteArray& standard_error) {
    const QString prefix = QString::fromLatin1(kProtocolProgramName) + QStringLiteral(": ");
    const QStringList lines = QString::fromUtf8(standard_error).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList own;
    for (const QString& line : lines) {
        if (line.startsWith(prefix)) own << line.mid(prefix.size()).trimmed();
    }
    if (!own.isEmpty()) return own.join(QLatin1Char('\n'));
    if (lines.isEmpty()) return QStringLiteral("Program %1 skončil bez zprávy.").arg(prefix.chopped(2));
    return QStringLiteral("Program %1 skončil s tímto výstupem:\n%2")
        .arg(prefix.chopped(2),
             lines.mid(std::max<qsizetype>(0, lines.size() - kLastLinesShown)).join(QLatin1Char('\n')));
}

}  // namespace vorlanex::spis

#include "spis/protocol_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QPrinter>
#include <QRegularExpression>

#include "spis/protocol/protocol_command_line.h"

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
    using namespace protocol::command_line;
    QStringList arguments;
    if (!choice.pages.isEmpty()) arguments << flag(kPages) << choice.pages;
    if (!choice.output_file.isEmpty()) return arguments;  // a file: copies, paper and sides are a printer's
    arguments << flag(kPrinter) << choice.printer << flag(kCopies) << QString::number(choice.copies);
    if (choice.collate) arguments << flag(kCollate);
    if (choice.grayscale) arguments << flag(kGrayscale);
    const QLatin1String sides = choice.duplex == PrintChoice::Duplex::LongSide    ? kLongEdge
                                : choice.duplex == PrintChoice::Duplex::ShortSide ? kShortEdge
                                                                                  : kOneSide;
    arguments << flag(kDuplex) << sides;
    if (!choice.media.isEmpty()) arguments << flag(kMedia) << choice.media;
    return arguments << flag(kTitle) << title;
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

std::optional<ProtocolStep> protocol_progress(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral("^progress (\\d{1,9})/(\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(line.trimmed());
    if (!match.hasMatch()) return std::nullopt;
    const ProtocolStep step{match.captured(1).toInt(), match.captured(2).toInt()};
    if (step.total < 1 || step.done > step.total) return std::nullopt;
    return step;
}

}  // namespace vorlanex::spis

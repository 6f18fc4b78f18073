#pragma once
// What the case window tells vorlanex-protocol, the program that prints the protocol (with Chromium)
// in a process of its own, and what it makes of that program's answer: its messages and its progress.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;

namespace vorlanex::spis {

// The protocol program's name, and where the window looks for it: beside its own program, in the build tree
// as in the installed one.
inline constexpr const char* kProtocolProgramName = "vorlanex-protocol";
QString protocol_program_beside_window();

// The expert's choices in the print dialog.
struct PrintChoice {
    QString printer;      // the CUPS printer; empty when printing to a file
    QString output_file;  // the PDF file of "print to file"; empty for a printer
    int copies = 1;
    bool collate = true;
    bool grayscale = false;
    enum class Duplex { None, LongSide, ShortSide } duplex = Duplex::None;
    QString media;  // the paper's name, "A4"
    QString pages;  // "1-3,5"; empty is every page
};
PrintChoice print_choice(const QPrinter& printer);

// The protocol program's arguments for `choice` besides --html (and --pdf for a file); `title` names the job.
QStringList print_arguments(const PrintChoice& choice, const QString& title);

// The Czech message of a failed protocol program from its standard error: the lines it wrote itself (after
// "vorlanex-protocol: "), or, when it wrote none (a crash), the last lines of what it printed.
QString protocol_problem(const QByteArray& standard_error);

// A line of vorlanex-protocol's standard output that tells its progress, "progress 3/12": 3 of the
// protocol's 12 steps done; none for any other line.
struct ProtocolStep {
    int done = 0;
    int total = 0;
};
std::optional<ProtocolStep> protocol_progress(const QString& line);

}  // namespace vorlanex::spis

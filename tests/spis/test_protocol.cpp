// The protocol as PDF and on paper, offscreen: the case window runs vorlanex-protocol (Chromium in
// a process of its own) and the PDF it writes is read back with poppler's tools: every result
// the window shows is in its text, every page is A4 and numbered, each calculation starts a page,
// no diagram is cut by a page break and the diagrams are vector. The print path writes the same
// protocol to the print dialog's file; a failure leaves no file and says why in Czech.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "casefile/case_run.h"
#include "casefile/recorded_run.h"
#include "registry/page_tree.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/protocol_process.h"
#include "spis/protocol_progress.h"

// A message shown as its text when a test fails.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vorlanex::spis {
namespace {

const numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");
const QString kProtocolProgram = QStringLiteral(VORLANEX_PROTOCOL_PROGRAM);
// Chromium starts in a few seconds; a loaded machine (the sanitizer build) takes longer.
constexpr int kProtocolWaitMs = 180'000;

// What a tool of poppler-utils prints, or the test fails.
QString tool_output(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    EXPECT_TRUE(tool.waitForFinished(60'000)) << program.toStdString();
    EXPECT_EQ(tool.exitCode(), 0) << program.toStdString() << ": " << tool.readAllStandardError().toStdString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QString pdf_text(const QString& pdf, int page = 0) {
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return tool_output(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

// Whether the PDF's text holds `shown`: a PDF keeps no run of spaces, nor a space at a line's end
// (a result may end in one, "Nedojde ke střetu ! "), so both are compared with spaces simplified.
bool holds(const QString& text, const std::string& shown) {
    return text.simplified().contains(QString::fromStdString(shown).simplified());
}

int page_count(const QString& pdf) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(tool_output(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

struct NumberBox {
    double left, top, right, bottom;  // points from the page's top-left corner
};

// Where "Strana N z M" lies on each page, as pdftotext -bbox gives the words' boxes.
std::vector<NumberBox> page_number_boxes(const QString& pdf) {
    const QString boxes = tool_output(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<NumberBox> found;
    for (const QString& page : boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1)) {
        std::vector<std::pair<NumberBox, QString>> words;
        for (const QRegularExpressionMatch& match : word.globalMatch(page)) {
            words.push_back({{match.captured(1).toDouble(), match.captured(2).toDouble(), match.captured(3).toDouble(),
                              match.captured(4).toDouble()},
                             match.captured(5)});
        }
        // The page's last "Strana", and its line up to the count ("Strana", N, "z", M).
        for (std::size_t i = words.size(); i-- > 0;) {
            if (words[i].second == QLatin1String("Strana") && i + 3 < words.size()) {
                found.push_back(
                    {words[i].first.left, words[i].first.top, words[i + 3].first.right, words[i + 3].first.bottom});
                break;
            }
        }
    }
    return found;
}

// Every page's number sits in the bottom margin (17 mm, 48 pt), centred in its height, its end at
// the right margin (15 mm, 42.5 pt), in every locale the program runs in.
void expect_numbers_in_the_bottom_margin(const QString& pdf, int pages) {
    const std::vector<NumberBox> numbers = page_number_boxes(pdf);
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(pages));
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_GT(numbers[i].top, 842 - 48) << "page " << i + 1;
        EXPECT_NEAR((numbers[i].top + numbers[i].bottom) / 2, 842 - 24, 8) << "page " << i + 1;
        EXPECT_NEAR(numbers[i].right, 595 - 42.5, 3) << "page " << i + 1;
    }
}

// Each page's "Page    3 size: 594.96 x 841.92 pts (A4)" as width and height.
std::vector<std::pair<double, double>> page_sizes(const QString& pdf, int pages) {
    std::vector<std::pair<double, double>> sizes;
    const QString info = tool_output(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                                                 QStringLiteral("-l"), QString::number(pages), pdf});
    const QRegularExpression line(QStringLiteral("^Page\\s+\\d+ size:\\s+([0-9.]+) x ([0-9.]+) pts"),
                                  QRegularExpression::MultilineOption);
    for (auto match = line.globalMatch(info); match.hasNext();) {
        const QRegularExpressionMatch size = match.next();
        sizes.emplace_back(size.captured(1).toDouble(), size.captured(2).toDouble());
    }
    return sizes;
}

// Waits for the window's protocol to end; its problem, empty when the PDF was written or printed.
// A message box the window shows meanwhile is read and closed, as the expert would close it.
struct Ending {
    bool ended = false;
    QString problem;
    QString message_box;
};

Ending wait_for_protocol(CaseWindow& window, QSignalSpy& finished) {
    Ending ending;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&ending] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ending.message_box = box->text();
            box->close();
        }
    });
    closer.start(50);
    ending.ended = !finished.isEmpty() || finished.wait(kProtocolWaitMs);
    if (ending.ended) ending.problem = finished.takeFirst().at(0).toString();
    // The box comes after the signal: give it time to show and be closed.
    for (int i = 0; i < 20 && window.protocol_running(); ++i) QTest::qWait(50);
    if (!ending.problem.isEmpty()) {
        for (int i = 0; i < 100 && ending.message_box.isEmpty(); ++i) QTest::qWait(50);
    }
    return ending;
}

// The window with the every-page case and the vorlanex-protocol of this build.
struct EveryPageWindow {
    EveryPageWindow() : window(kComma), finished(&window, &CaseWindow::protocol_finished) {
        EXPECT_EQ(window.open_case(kEveryPageCase), std::nullopt);
        window.set_protocol_program(kProtocolProgram);
    }
    CaseWindow window;
    QSignalSpy finished;
};

// Every result text the window shows for each calculation, checked against the headless run.
std::vector<std::string> shown_results(CaseWindow& window) {
    std::vector<std::string> shown;
    const casefile::CaseFile file = [] {
        QFile case_file(kEveryPageCase);
        EXPECT_TRUE(case_file.open(QIODevice::ReadOnly));
        return std::get<casefile::CaseFile>(casefile::read_case_file(case_file.readAll().toStdString()));
    }();
    for (std::size_t row = 0; row < file.calculations.size(); ++row) {
        window.select_calculation(static_cast<int>(row));
        const casefile::Calculation& calculation = file.calculations[row];
        const casefile::RecordedRun headless(*calculation.scenario.page, calculation.scenario.fields, kComma);
        for (const page::Field& field : calculation.scenario.page->layout.fields) {
            if (field.role != page::FieldRole::Result) continue;
            const auto* edit = window.calculation_view()->findChild<QLineEdit*>(
                QString::fromUtf8(field.id.data(), static_cast<qsizetype>(field.id.size())));
            EXPECT_NE(edit, nullptr) << field.id;
            if (edit == nullptr) continue;
            EXPECT_EQ(edit->text().toStdString(), headless.text_after(field.id)) << field.id;
            if (!edit->text().isEmpty()) shown.push_back(edit->text().toStdString());
        }
    }
    EXPECT_GT(shown.size(), 50U);
    return shown;
}

TEST(ProtocolPdf, ExportedPdfHoldsEveryResultShownOnNumberedA4PagesWithVectorDiagrams) {
    QTemporaryDir folder;
    EveryPageWindow fixture;
    CaseWindow& window = fixture.window;
    const QString pdf = folder.filePath(QStringLiteral("protokol.pdf"));
    ASSERT_EQ(window.export_pdf(pdf), std::nullopt);
    // The window stays usable meanwhile and says what it is doing.
    EXPECT_TRUE(window.protocol_running());
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Exportuji protokol…"));
    const std::vector<std::string> shown = shown_results(window);
    const Ending ending = wait_for_protocol(window, fixture.finished);
    ASSERT_TRUE(ending.ended);
    ASSERT_EQ(ending.problem, QString());
    EXPECT_EQ(ending.message_box, QString());
    EXPECT_FALSE(window.protocol_running());
    EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("protokol.pdf")));
    // Nothing but the PDF in its folder: no temporary file left beside it.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("protokol.pdf")});

    const QString text = pdf_text(pdf);
    for (const std::string& result : shown) EXPECT_TRUE(holds(text, result)) << result;

    const int pages = page_count(pdf);
    const std::size_t calculations = window.document().calculations.size();
    ASSERT_GT(pages, static_cast<int>(calculations));
    const auto sizes = page_sizes(pdf, pages);
    ASSERT_EQ(sizes.size(), static_cast<std::size_t>(pages));
    for (const auto& [width, height] : sizes) {
        EXPECT_NEAR(width, 595, 1) << "not A4";
        EXPECT_NEAR(height, 842, 1) << "not A4";
    }
    std::size_t started = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString page_text = pdf_text(pdf, page);
        EXPECT_TRUE(page_text.contains(QStringLiteral("Strana %1 z %2").arg(page).arg(pages))) << "page " << page;
        // A calculation starts at the top of a page; a diagram's heading prints with its caption.
        const qsizetype starts = page_text.count(QStringLiteral("VÝPOČET SPISU · ŘÁDEK"));
        EXPECT_LE(starts, 1) << "page " << page;
        if (starts == 1) {
            ++started;
            EXPECT_TRUE(page_text.trimmed().startsWith(QStringLiteral("VÝPOČET SPISU"))) << "page " << page;
        }
        EXPECT_EQ(page_text.count(QStringLiteral("Diagram dráha–čas")),
                  page_text.count(QStringLiteral("Dráha vozidla od místa začátku reakce")))
            << "a diagram is cut by the break after page " << page;
    }
    EXPECT_EQ(started, calculations);
    expect_numbers_in_the_bottom_margin(pdf, pages);
    // The diagrams are vector: their axis captions are text, and the PDF holds no picture at all.
    EXPECT_TRUE(text.contains(QStringLiteral("čas od začátku reakce t [s]")));
    const QStringList images = tool_output(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(images.size(), 2) << images.join(QLatin1Char('\n')).toStdString();  // the two heading lines
    // The provenance of the report, as the HTML export has it.
    EXPECT_TRUE(text.contains(QStringLiteral("SHA-256 spisu")));
    EXPECT_TRUE(text.contains(QStringLiteral("vorlanex-calc --report --case")));
}

// The analyses a case keeps are printed with their calculations: each kept tolerance run with its
// settings, percentiles and histograms, each kept sweep with its chart, on numbered pages.
TEST(ProtocolPdf, KeptAnalysesArePrintedWithTheirCalculations) {
    QTemporaryDir folder;
    CaseWindow window(kComma);
    QSignalSpy finished(&window, &CaseWindow::protocol_finished);
    ASSERT_EQ(window.open_case(QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/kept-analyses.vorlanex")),
              std::nullopt);
    window.set_protocol_program(kProtocolProgram);
    const QString pdf = folder.filePath(QStringLiteral("rozbory.pdf"));
    ASSERT_EQ(window.export_pdf(pdf), std::nullopt);
    const Ending ending = wait_for_protocol(window, finished);
    ASSERT_TRUE(ending.ended);
    ASSERT_EQ(ending.problem, QString());

    std::size_t tolerance_runs = 0, sweeps = 0;
    for (const casefile::Calculation& calculation : window.document().calculations) {
        tolerance_runs += calculation.analyses.tolerance.has_value();
        sweeps += calculation.analyses.sweep.has_value();
    }
    ASSERT_GT(tolerance_runs, 0U);
    ASSERT_GT(sweeps, 1U);
    const QString text = pdf_text(pdf);
    EXPECT_EQ(static_cast<std::size_t>(text.count(QStringLiteral("Rozbor tolerancí"))), tolerance_runs);
    EXPECT_EQ(static_cast<std::size_t>(text.count(QStringLiteral("Průběh výsledků"))), sweeps);
    EXPECT_TRUE(text.contains(QStringLiteral("Vzorků: 2000, semínko: 1.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Histogramy")));
    EXPECT_FALSE(text.contains(QStringLiteral("nelze provést")));
    const int pages = page_count(pdf);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(pdf_text(pdf, page).contains(QStringLiteral("Strana %1 z %2").arg(page).arg(pages)))
            << "page " << page;
    }
    expect_numbers_in_the_bottom_margin(pdf, pages);
}

// A case of `count` calculations, the every-page case's taken in turn, each with an id of its own.
QString many_calculations_case(const QTemporaryDir& folder, int count) {
    QFile every_page(kEveryPageCase);
    EXPECT_TRUE(every_page.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = every_page.readAll().trimmed().split('\n');
    QByteArray text = lines.front() + '\n';
    for (int i = 0; i < count; ++i) {
        QJsonObject calculation = QJsonDocument::fromJson(lines[1 + i % (lines.size() - 1)]).object();
        calculation[QStringLiteral("id")] =
            QStringLiteral("%1-%2").arg(calculation[QStringLiteral("id")].toString()).arg(i);
        text += QJsonDocument(calculation).toJson(QJsonDocument::Compact) + '\n';
    }
    const QString path = folder.filePath(QStringLiteral("mnoho.vorlanex"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

TEST(ProtocolPdf, ManyCalculationsArePrintedInPartsNumberedOverTheWholeWithProgressShown) {
    constexpr int kCalculations = 45;
    QTemporaryDir folder;
    // Parts of 15 calculations: the cover and contents, three parts, then the page numbers.
    qputenv("VORLANEX_PROTOCOL_SECTIONS_PER_PART", "15");
    CaseWindow window(kComma);
    QSignalSpy finished(&window, &CaseWindow::protocol_finished);
    ASSERT_EQ(window.open_case(many_calculations_case(folder, kCalculations)), std::nullopt);
    window.set_protocol_program(kProtocolProgram);
    const QString pdf = folder.filePath(QStringLiteral("protokol.pdf"));
    ASSERT_EQ(window.export_pdf(pdf), std::nullopt);
    auto* progress = window.findChild<ProtocolProgress*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->isHidden());
    std::vector<int> shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (shown.empty() || shown.back() != progress->value()) shown.push_back(progress->value());
    });
    watcher.start(20);
    const Ending ending = wait_for_protocol(window, finished);
    qunsetenv("VORLANEX_PROTOCOL_SECTIONS_PER_PART");
    ASSERT_TRUE(ending.ended);
    ASSERT_EQ(ending.problem, QString());
    EXPECT_TRUE(progress->isHidden());
    EXPECT_EQ(progress->maximum(), 5);
    EXPECT_EQ(progress->value(), 5);
    EXPECT_GE(shown.size(), 3U) << "the bar moved in steps";

    const int pages = page_count(pdf);
    ASSERT_GT(pages, kCalculations);
    expect_numbers_in_the_bottom_margin(pdf, pages);
    const QString text = pdf_text(pdf);
    for (int page = 1; page <= pages; ++page) {
        EXPECT_TRUE(text.contains(QStringLiteral("Strana %1 z %2").arg(page).arg(pages))) << "page " << page;
    }
    EXPECT_EQ(text.count(QStringLiteral("VÝPOČET SPISU · ŘÁDEK")), kCalculations);
    // The contents' links go to every calculation, each on a page of its own after the contents.
    const QStringList destinations = tool_output(QStringLiteral("pdfinfo"), {QStringLiteral("-dests"), pdf})
                                         .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                         .filter(QStringLiteral("vypocet-radek-"));
    EXPECT_EQ(destinations.size(), kCalculations);
    QSet<int> destination_pages;
    for (const QString& destination : destinations)
        destination_pages.insert(destination.trimmed().section(' ', 0, 0).toInt());
    EXPECT_EQ(destination_pages.size(), kCalculations);
    EXPECT_FALSE(destination_pages.contains(1));
}

struct PrintToFile {
    const char* name;
    QString pages;                   // the dialog's page range; empty is all
    std::vector<int> printed_pages;  // the pages of the protocol expected, numbered; empty: all
};

class PrintedToFile : public ::testing::TestWithParam<PrintToFile> {};

TEST_P(PrintedToFile, HoldsTheProtocolsPagesWithTheirNumbers) {
    QTemporaryDir folder;
    EveryPageWindow fixture;
    CaseWindow& window = fixture.window;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder.filePath(QStringLiteral("tisk.pdf"));
    printer.setOutputFileName(pdf);
    if (!GetParam().pages.isEmpty()) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(GetParam().pages));
    }
    ASSERT_EQ(window.print_protocol(printer), std::nullopt);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Tisknu protokol…"));
    const Ending ending = wait_for_protocol(window, fixture.finished);
    ASSERT_TRUE(ending.ended);
    ASSERT_EQ(ending.problem, QString());

    const QString text = pdf_text(pdf);
    const QRegularExpressionMatch total = QRegularExpression(QStringLiteral("Strana \\d+ z (\\d+)")).match(text);
    ASSERT_TRUE(total.hasMatch());
    const int protocol_pages = total.captured(1).toInt();
    std::vector<int> expected = GetParam().printed_pages;
    if (expected.empty()) {
        for (int page = 1; page <= protocol_pages; ++page) expected.push_back(page);
        for (const std::string& result : shown_results(window)) {
            EXPECT_TRUE(holds(text, result)) << result;
        }
    }
    ASSERT_EQ(page_count(pdf), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(pdf_text(pdf, static_cast<int>(i) + 1)
                        .contains(QStringLiteral("Strana %1 z %2").arg(expected[i]).arg(protocol_pages)))
            << "printed page " << i + 1;
    }
    for (const auto& [width, height] : page_sizes(pdf, static_cast<int>(expected.size()))) {
        EXPECT_NEAR(width, 595, 1);
        EXPECT_NEAR(height, 842, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(ProtocolPrint, PrintedToFile,
                         ::testing::Values(PrintToFile{"EveryPage", {}, {}},
                                           PrintToFile{"PagesTwoToThreeAndFive", QStringLiteral("2-3,5"), {2, 3, 5}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Export to a place where no PDF can be: a message, and no file, nothing half-written.
struct Unwritable {
    const char* name;
    const char* target;  // under the test's folder, which holds a file "soubor"
    const char* message_part;
};

class UnwritableTarget : public ::testing::TestWithParam<Unwritable> {};

TEST_P(UnwritableTarget, GivesACzechMessageAndNoFile) {
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("soubor")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EveryPageWindow fixture;
    const QString target = folder.filePath(QString::fromUtf8(GetParam().target));
    const std::optional<QString> problem = fixture.window.export_pdf(target);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(QString::fromUtf8(GetParam().message_part))) << problem->toStdString();
    EXPECT_FALSE(fixture.window.protocol_running());
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("soubor")});
}

INSTANTIATE_TEST_SUITE_P(ProtocolPdf, UnwritableTarget,
                         ::testing::Values(Unwritable{"FolderThatDoesNotExist", "chybi/protokol.pdf", "neexistuje"},
                                           Unwritable{"FileInPlaceOfTheFolder", "soubor/protokol.pdf", "není složka"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProtocolPdf, FolderGoneWhileTheProtocolIsMadeGivesAMessageBoxAndNoFile) {
    QTemporaryDir folder;
    EveryPageWindow fixture;
    const QString inner = folder.filePath(QStringLiteral("spis"));
    ASSERT_TRUE(QDir().mkpath(inner));
    const QString target = inner + QStringLiteral("/protokol.pdf");
    ASSERT_EQ(fixture.window.export_pdf(target), std::nullopt);
    ASSERT_TRUE(QDir(inner).removeRecursively());
    const Ending ending = wait_for_protocol(fixture.window, fixture.finished);
    ASSERT_TRUE(ending.ended);
    EXPECT_TRUE(ending.problem.contains(QStringLiteral("nelze uložit"))) << ending.problem.toStdString();
    EXPECT_EQ(ending.message_box, ending.problem);
    EXPECT_FALSE(QFileInfo::exists(target));
}

// A stand-in for vorlanex-protocol in `folder`: a shell script of `body`.
QString stand_in_program(const QTemporaryDir& folder, const char* body) {
    const QString path = folder.filePath(QStringLiteral("vorlanex-protocol"));
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QByteArray("#!/bin/sh\n") + body);
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A protocol program that fails: the message box says what it wrote, and the actions are usable again.
TEST(ProtocolPdf, FailedProtocolProgramShowsItsMessageAndLeavesNoFile) {
    QTemporaryDir folder;
    const QString failing =
        stand_in_program(folder,
                         "echo 'Chromium: some noise' >&2\n"
                         "echo 'vorlanex-protocol: Prohlížeč protokol do PDF nevytiskl.' >&2\nexit 1\n");
    EveryPageWindow fixture;
    fixture.window.set_protocol_program(failing);
    const QString target = folder.filePath(QStringLiteral("protokol.pdf"));
    ASSERT_EQ(fixture.window.export_pdf(target), std::nullopt);
    const Ending ending = wait_for_protocol(fixture.window, fixture.finished);
    ASSERT_TRUE(ending.ended);
    EXPECT_EQ(ending.problem,
              QStringLiteral("Protokol se nepodařilo vytvořit.\n\nProhlížeč protokol do PDF nevytiskl."));
    EXPECT_EQ(ending.message_box, ending.problem);
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(fixture.window.protocol_running());
    EXPECT_FALSE(fixture.window.statusBar()->currentMessage().contains(QStringLiteral("Exportuji")));
}

// The progress the program writes is shown in the status bar, whose button stops it: nothing is
// written, no message box comes, and the status bar says it was stopped.
TEST(ProtocolPdf, ProgressIsShownAndCancelStopsTheProtocol) {
    QTemporaryDir folder;
    EveryPageWindow fixture;
    fixture.window.set_protocol_program(
        stand_in_program(folder, "echo 'progress 1/3'\necho 'progress 2/3'\nexec sleep 120\n"));
    const QString target = folder.filePath(QStringLiteral("protokol.pdf"));
    ASSERT_EQ(fixture.window.export_pdf(target), std::nullopt);
    auto* progress = fixture.window.findChild<ProtocolProgress*>();
    ASSERT_NE(progress, nullptr);
    for (int i = 0; i < 200 && progress->value() < 2; ++i) QTest::qWait(25);
    EXPECT_EQ(progress->value(), 2);
    EXPECT_EQ(progress->maximum(), 3);
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Zrušit"));
    cancel->click();
    const Ending ending = wait_for_protocol(fixture.window, fixture.finished);
    ASSERT_TRUE(ending.ended);
    EXPECT_EQ(ending.problem, QString());
    EXPECT_EQ(ending.message_box, QString());
    EXPECT_TRUE(progress->isHidden());
    EXPECT_FALSE(fixture.window.protocol_running());
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(fixture.window.statusBar()->currentMessage(),
              QStringLiteral("Vytváření protokolu zrušeno; protokol nebyl vytvořen."));
}

TEST(ProtocolPdf, MissingProtocolProgramIsSaidAtOnce) {
    QTemporaryDir folder;
    EveryPageWindow fixture;
    fixture.window.set_protocol_program(folder.filePath(QStringLiteral("vorlanex-protocol")));
    const std::optional<QString> problem = fixture.window.export_pdf(folder.filePath(QStringLiteral("p.pdf")));
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(QStringLiteral("chybí"))) << problem->toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("p.pdf"))));
}

TEST(ProtocolPdf, TheWindowLooksForTheProtocolProgramBesideItself) {
    EXPECT_EQ(protocol_program_beside_window(),
              QCoreApplication::applicationDirPath() + QStringLiteral("/vorlanex-protocol"));
}

TEST(ProtocolMenu, FileMenuExportsPdfAndHtmlAndPrintsBeforeQuitting) {
    CaseWindow window(kComma);
    QMenu* file = window.menuBar()->actions().at(0)->menu();
    ASSERT_NE(file, nullptr);
    QStringList texts;
    const QAction* print = nullptr;
    for (const QAction* action : file->actions()) {
        if (action->isSeparator() || action->menu() != nullptr) continue;
        texts << action->text();
        if (action->text() == QStringLiteral("&Tisk…")) print = action;
    }
    const qsizetype pdf = texts.indexOf(QStringLiteral("Exportovat protokol do &PDF…"));
    ASSERT_GE(pdf, 0) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(texts.mid(pdf), (QStringList{QStringLiteral("Exportovat protokol do &PDF…"),
                                           QStringLiteral("Exportovat protokol do &HTML…"), QStringLiteral("&Tisk…"),
                                           QStringLiteral("&Konec")}));
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));
    EXPECT_EQ(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

struct Arguments {
    const char* name;
    PrintChoice choice;
    QStringList arguments;
};

class PrintArguments : public ::testing::TestWithParam<Arguments> {};

TEST_P(PrintArguments, TellTheProtocolProgramTheDialogsChoices) {
    EXPECT_EQ(print_arguments(GetParam().choice, QStringLiteral("Protokol – a.vorlanex")), GetParam().arguments);
}

PrintChoice choice(std::function<void(PrintChoice&)> set) {
    PrintChoice made;
    made.printer = QStringLiteral("Kancelář");
    made.media = QStringLiteral("A4");
    set(made);
    return made;
}

const QStringList kTitle{QStringLiteral("--title"), QStringLiteral("Protokol – a.vorlanex")};

INSTANTIATE_TEST_SUITE_P(ProtocolPrint, PrintArguments,
                         ::testing::Values(Arguments{"Plain", choice([](PrintChoice&) {}),
                                                     QStringList{"--printer", "Kancelář", "--copies", "1", "--collate",
                                                                 "--duplex", "none", "--media", "A4"} +
                                                         kTitle},
                                           Arguments{
                                               "TwoCopiesGreyLongEdgeSomePages", choice([](PrintChoice& c) {
                                                   c.copies = 2;
                                                   c.collate = false;
                                                   c.grayscale = true;
                                                   c.duplex = PrintChoice::Duplex::LongSide;
                                                   c.pages = QStringLiteral("1-3,5");
                                               }),
                                               QStringList{"--pages", "1-3,5", "--printer", "Kancelář", "--copies", "2",
                                                           "--grayscale", "--duplex", "long", "--media", "A4"} +
                                                   kTitle},
                                           Arguments{"ShortEdgeLetter", choice([](PrintChoice& c) {
                                                         c.duplex = PrintChoice::Duplex::ShortSide;
                                                         c.media = QStringLiteral("Letter");
                                                     }),
                                                     QStringList{"--printer", "Kancelář", "--copies", "1", "--collate",
                                                                 "--duplex", "short", "--media", "Letter"} +
                                                         kTitle},
                                           Arguments{"FileTakesOnlyThePages", choice([](PrintChoice& c) {
                                                         c.printer.clear();
                                                         c.output_file = QStringLiteral("/tmp/tisk.pdf");
                                                         c.copies = 3;
                                                         c.pages = QStringLiteral("2");
                                                     }),
                                                     QStringList{"--pages", "2"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// (A PDF file has no sides: QPrinter keeps no duplex for it, and print_arguments passes none.)
TEST(ProtocolPrint, ChoiceOfAPrinterToAFileIsTheFile) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/tmp/x.pdf"));
    printer.setCopyCount(2);
    printer.setColorMode(QPrinter::GrayScale);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setPageRanges(QPageRanges::fromString(QStringLiteral("1-2,4")));
    const PrintChoice chosen = print_choice(printer);
    EXPECT_EQ(chosen.output_file, QStringLiteral("/tmp/x.pdf"));
    EXPECT_TRUE(chosen.printer.isEmpty());
    EXPECT_EQ(chosen.copies, 2);
    EXPECT_TRUE(chosen.grayscale);
    EXPECT_EQ(chosen.media, QStringLiteral("A4"));
    EXPECT_EQ(chosen.pages, QStringLiteral("1-2,4"));
}

struct ProgramOutput {
    const char* name;
    QByteArray standard_error;
    QString message;
};

class ProtocolProgramProblem : public ::testing::TestWithParam<ProgramOutput> {};

TEST_P(ProtocolProgramProblem, IsWhatTheProgramSaidOrTheEndOfItsOutput) {
    EXPECT_EQ(protocol_problem(GetParam().standard_error), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    ProtocolPdf, ProtocolProgramProblem,
    ::testing::Values(
        ProgramOutput{"OwnLineAmongNoise",
                      "Sandboxing disabled by user.\nvorlanex-protocol: Tiskárna „X“ není k dispozici: Not found\n",
                      QStringLiteral("Tiskárna „X“ není k dispozici: Not found")},
        ProgramOutput{"Nothing", "", QStringLiteral("Program vorlanex-protocol skončil bez zprávy.")},
        ProgramOutput{"CrashOutput", "a\nb\nc\nd\ne\nf\ng\n",
                      QStringLiteral("Program vorlanex-protocol skončil s tímto výstupem:\nb\nc\nd\ne\nf\ng")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlanex::spis

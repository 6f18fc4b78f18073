// vorlanex-protocol's own steps without WebEngine: its command line read into a request, the page
// margins read from the report's @page rule, the pages kept of a range, and the footers laid over
// a PDF's pages with the pages kept (PDFs drawn here with QPdfWriter, read back with pdftotext).
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "spis/protocol/page_numbers.h"
#include "spis/protocol/protocol_request.h"

namespace vorlanex::spis::protocol {
namespace {

struct CssMargins {
    const char* name;
    QStringList css;  // top, right, bottom, left as the CSS object model gives them
    PageMargins expected;
};

class MarginsFromCss : public ::testing::TestWithParam<CssMargins> {};

TEST_P(MarginsFromCss, AreMillimetresOrTheReportsOwn) {
    const PageMargins margins = margins_from(QVariant(GetParam().css));
    const PageMargins& expected = GetParam().expected;
    EXPECT_DOUBLE_EQ(margins.top, expected.top);
    EXPECT_DOUBLE_EQ(margins.right, expected.right);
    EXPECT_DOUBLE_EQ(margins.bottom, expected.bottom);
    EXPECT_DOUBLE_EQ(margins.left, expected.left);
}

INSTANTIATE_TEST_SUITE_P(
    ProtocolProgram, MarginsFromCss,
    ::testing::Values(CssMargins{"TheReports", {"15mm", "15mm", "17mm", "15mm"}, {15, 15, 17, 15}},
                      CssMargins{"OtherUnits", {"1cm", "0.5in", "36pt", "96px"}, {10, 12.7, 12.7, 25.4}},
                      CssMargins{"UnreadableSidesKeepTheReports", {"auto", "", "20mm", "-3mm"}, {15, 15, 20, 15}},
                      CssMargins{"NoPageRule", {}, {15, 15, 17, 15}},
                      CssMargins{"NotFourSides", {"10mm", "10mm"}, {15, 15, 17, 15}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CommandLine {
    const char* name;
    bool html_exists;
    QString pdf;
    QString pages;
    int copies;                // 0: no printer
    const char* problem_part;  // empty: accepted
};

class RequestFromCommandLine : public ::testing::TestWithParam<CommandLine> {};

TEST_P(RequestFromCommandLine, IsAcceptedOrSaysWhatIsWrong) {
    QTemporaryDir folder;
    const QString html = folder.filePath(QStringLiteral("protokol.html"));
    if (GetParam().html_exists) {
        QFile file(html);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE html>\n");
    }
    std::optional<PrinterSettings> printer;
    if (GetParam().copies != 0) {
        printer.emplace();
        printer->printer = "Kancelář";
        printer->copies = GetParam().copies;
    }
    const ParsedRequest parsed = request_from(html, GetParam().pdf, GetParam().pages, printer);
    const QString part = QString::fromUtf8(GetParam().problem_part);
    if (part.isEmpty()) {
        EXPECT_EQ(parsed.problem.toStdString(), "");
        EXPECT_EQ(parsed.request.html, html);
        EXPECT_EQ(parsed.request.pages.toString(), GetParam().pages);
    } else {
        EXPECT_TRUE(parsed.problem.contains(part)) << parsed.problem.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    ProtocolProgram, RequestFromCommandLine,
    ::testing::Values(CommandLine{"PdfOfAFile", true, "out.pdf", "", 0, ""},
                      CommandLine{"SomePagesOnAPrinter", true, "", "2-3,5", 2, ""},
                      CommandLine{"HtmlMissing", false, "out.pdf", "", 0, "nelze přečíst"},
                      CommandLine{"NeitherPdfNorPrinter", true, "", "", 0, "Chybí --pdf nebo --printer"},
                      CommandLine{"UnreadablePages", true, "out.pdf", "dvě", 0, "Rozsah stran „dvě“"},
                      CommandLine{"NoCopies", true, "", "", -1, "alespoň 1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Kept {
    const char* name;
    QString pages;
    std::vector<int> kept;  // of a protocol of 13 pages
};

class KeptPages : public ::testing::TestWithParam<Kept> {};

TEST_P(KeptPages, AreThoseOfTheRangeThatThePdfHas) {
    EXPECT_EQ(kept_pages(QPageRanges::fromString(GetParam().pages), 13), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(ProtocolProgram, KeptPages,
                         ::testing::Values(Kept{"AllWhenNoRange", "", {}}, Kept{"Ranges", "2-3,5", {2, 3, 5}},
                                           Kept{"UnsortedMerged", "5,1-2,2", {1, 2, 5}},
                                           Kept{"BeyondTheEndCut", "12-20", {12, 13}}, Kept{"NoneOfThem", "14-20", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A PDF of A4 pages, each with one line of text: "`prefix` N".
std::string drawn_pdf(int pages, const QString& prefix) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("drawn.pdf"));
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) writer.newPage();
            painter.drawText(QPointF(500, 500 + 400 * page), QStringLiteral("%1 %2").arg(prefix).arg(page));
        }
    }
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
}

QStringList page_texts(const std::string& pdf) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("read.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf.data(), static_cast<qint64>(pdf.size()));
    file.close();
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(tool.waitForFinished(60'000));
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    for (QString& page : pages) page = page.simplified();
    return pages;
}

TEST(PageNumbers, LieOverTheirPagesAndTheKeptPagesKeepTheirNumbers) {
    const PdfOutcome all = numbered(drawn_pdf(3, QStringLiteral("Obsah")), drawn_pdf(3, QStringLiteral("Strana")), {});
    ASSERT_TRUE(all.ok()) << all.problem;
    EXPECT_EQ(page_texts(all.pdf), (QStringList{QStringLiteral("Obsah 1 Strana 1"), QStringLiteral("Obsah 2 Strana 2"),
                                                QStringLiteral("Obsah 3 Strana 3")}));
    const PdfOutcome some =
        numbered(drawn_pdf(3, QStringLiteral("Obsah")), drawn_pdf(3, QStringLiteral("Strana")), {1, 3});
    ASSERT_TRUE(some.ok()) << some.problem;
    EXPECT_EQ(page_texts(some.pdf),
              (QStringList{QStringLiteral("Obsah 1 Strana 1"), QStringLiteral("Obsah 3 Strana 3")}));
    std::string problem;
    EXPECT_EQ(page_count(some.pdf, problem), 2);
    EXPECT_EQ(problem, "");
}

TEST(PageNumbers, FootersOfAnotherCountOrNoPdfAreRefused) {
    const PdfOutcome other =
        numbered(drawn_pdf(3, QStringLiteral("Obsah")), drawn_pdf(2, QStringLiteral("Strana")), {});
    EXPECT_FALSE(other.ok());
    EXPECT_NE(other.problem.find("Čísla stran vyšla na 2 stran, protokol jich má 3"), std::string::npos)
        << other.problem;
    const PdfOutcome garbage = numbered("<html>", drawn_pdf(1, QStringLiteral("Strana")), {});
    EXPECT_FALSE(garbage.ok());
    std::string problem;
    EXPECT_EQ(page_count("<html>", problem), 0);
    EXPECT_NE(problem.find("není čitelné PDF"), std::string::npos) << problem;
}

TEST(PageNumbers, FootersAreOnePageOfTheirOwnForEachPage) {
    const std::string html = footers_html(13, PageMargins{});
    for (int page = 1; page <= 13; ++page) {
        EXPECT_NE(html.find("Strana " + std::to_string(page) + " z 13<"), std::string::npos) << page;
    }
    EXPECT_EQ(html.find("Strana 14"), std::string::npos);
    // The number sits at the right margin, in a line as tall as the bottom margin.
    EXPECT_NE(html.find("right: 15.00mm"), std::string::npos);
    EXPECT_NE(html.find("line-height: 17.00mm"), std::string::npos);
}

}  // namespace
}  // namespace vorlanex::spis::protocol

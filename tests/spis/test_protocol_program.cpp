// vorlanex-protocol's own steps without a browser: its command line read into a request, the pages
// kept of a range, the report cut into parts and each document sealed, the parts' PDFs joined and
// the page numbers laid over a PDF's pages with the pages kept (PDFs drawn here with QPdfWriter,
// read back with pdftotext).
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "spis/protocol/page_numbers.h"
#include "spis/protocol/protocol_parts.h"
#include "spis/protocol/protocol_request.h"
#include "spis/protocol_process.h"

namespace vorlanex::spis::protocol {
namespace {

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
    const PdfOutcome all =
        assembled({drawn_pdf(3, QStringLiteral("Obsah"))}, drawn_pdf(3, QStringLiteral("Strana")), {});
    ASSERT_TRUE(all.ok()) << all.problem;
    EXPECT_EQ(page_texts(all.pdf), (QStringList{QStringLiteral("Obsah 1 Strana 1"), QStringLiteral("Obsah 2 Strana 2"),
                                                QStringLiteral("Obsah 3 Strana 3")}));
    const PdfOutcome some =
        assembled({drawn_pdf(3, QStringLiteral("Obsah"))}, drawn_pdf(3, QStringLiteral("Strana")), {1, 3});
    ASSERT_TRUE(some.ok()) << some.problem;
    EXPECT_EQ(page_texts(some.pdf),
              (QStringList{QStringLiteral("Obsah 1 Strana 1"), QStringLiteral("Obsah 3 Strana 3")}));
    std::string problem;
    EXPECT_EQ(page_count(some.pdf, problem), 2);
    EXPECT_EQ(problem, "");
}

TEST(PageNumbers, FootersOfAnotherCountOrNoPdfAreRefused) {
    const PdfOutcome other =
        assembled({drawn_pdf(3, QStringLiteral("Obsah"))}, drawn_pdf(2, QStringLiteral("Strana")), {});
    EXPECT_FALSE(other.ok());
    EXPECT_NE(other.problem.find("Čísla stran vyšla na 2 stran, protokol jich má 3"), std::string::npos)
        << other.problem;
    const PdfOutcome garbage = assembled({"<html>"}, drawn_pdf(1, QStringLiteral("Strana")), {});
    EXPECT_FALSE(garbage.ok());
    std::string problem;
    EXPECT_EQ(page_count("<html>", problem), 0);
    EXPECT_NE(problem.find("není čitelné PDF"), std::string::npos) << problem;
}

TEST(PageNumbers, JoinedPartsKeepTheirPagesInOrder) {
    const PdfOutcome whole = assembled({drawn_pdf(2, QStringLiteral("Obsah")), drawn_pdf(1, QStringLiteral("Výpočet")),
                                        drawn_pdf(2, QStringLiteral("Příloha"))},
                                       {}, {});
    ASSERT_TRUE(whole.ok()) << whole.problem;
    EXPECT_EQ(page_texts(whole.pdf),
              (QStringList{QStringLiteral("Obsah 1"), QStringLiteral("Obsah 2"), QStringLiteral("Výpočet 1"),
                           QStringLiteral("Příloha 1"), QStringLiteral("Příloha 2")}));
    // Without page numbers to lay over, only the pages asked for are kept.
    const PdfOutcome some = assembled({whole.pdf}, {}, {2, 5});
    ASSERT_TRUE(some.ok()) << some.problem;
    EXPECT_EQ(page_texts(some.pdf), (QStringList{QStringLiteral("Obsah 2"), QStringLiteral("Příloha 2")}));
    const PdfOutcome broken = assembled({drawn_pdf(1, QStringLiteral("Obsah")), "<html>"}, {}, {});
    EXPECT_NE(broken.problem.find("PDF protokolu nelze sestavit"), std::string::npos) << broken.problem;
}

// A report as the report writer makes one: its head, a cover and contents, `sections` calculations.
std::string report_html(int sections) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\"/>\n<style>@page { margin: 15mm; "
        "}</style>\n</head>\n<body>\n<section class=\"cover\">OBALKA</section>\n<nav class=\"contents\">";
    for (int i = 1; i <= sections; ++i)
        html += "<a href=\"#vypocet-" + std::to_string(i) + "\">" + std::to_string(i) + "</a>";
    html += "</nav>\n";
    for (int i = 1; i <= sections; ++i) {
        const std::string number = std::to_string(i);
        html += "<section class=\"calculation\" id=\"vypocet-" + number + "\" data-line=\"" + number +
                "\">\n<p>VYPOCET-" + number + ".</p><section class=\"inputs\">zadani</section>\n</section>\n";
    }
    return html + "</body>\n</html>\n";
}

struct Cut {
    const char* name;
    std::string html;
    std::size_t sections_per_part;
    std::vector<int> calculations;  // how many calculations each part holds; {} when it is the document itself
};

class ProtocolCut : public ::testing::TestWithParam<Cut> {};

TEST_P(ProtocolCut, IntoCompleteDocumentsThatHoldEveryCalculationOnce) {
    const std::string& html = GetParam().html;
    const std::vector<std::string> parts = protocol_parts(html, GetParam().sections_per_part);
    if (GetParam().calculations.empty()) {
        EXPECT_EQ(parts, std::vector<std::string>{html});
        return;
    }
    ASSERT_EQ(parts.size(), GetParam().calculations.size() + 1);
    const std::string head = html.substr(0, html.find("<body>") + 6);
    EXPECT_NE(parts.front().find("OBALKA"), std::string::npos);
    int next = 1;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        EXPECT_EQ(part.substr(0, head.size()), head) << "part " << i;
        EXPECT_EQ(part.substr(part.size() - 16), "</body>\n</html>\n") << "part " << i;
        if (i == 0) {
            EXPECT_EQ(part.find("VYPOCET-"), std::string::npos);
            // Every calculation the contents link to has an element to go to.
            const auto& counts = GetParam().calculations;
            for (int c = 1; c <= std::accumulate(counts.begin(), counts.end(), 0); ++c) {
                EXPECT_NE(part.find("<span id=\"vypocet-" + std::to_string(c) + "\">"), std::string::npos) << c;
            }
            continue;
        }
        EXPECT_EQ(part.find("OBALKA"), std::string::npos) << "part " << i;
        for (int c = 0; c < GetParam().calculations[i - 1]; ++c, ++next) {
            const std::string number = std::to_string(next);
            EXPECT_NE(part.find("<p>VYPOCET-" + number + ".</p>"), std::string::npos) << "part " << i << ", " << next;
            // A link of the part's own goes to it, so that the PDF names its place.
            EXPECT_NE(part.find("<a href=\"#vypocet-" + number + "\""), std::string::npos) << next;
        }
        EXPECT_EQ(part.find("<p>VYPOCET-" + std::to_string(next) + ".</p>"), std::string::npos) << "part " << i;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProtocolProgram, ProtocolCut, ::testing::Values(
    Cut{"FewCalculationsAreTheDocumentItself", report_html(5), 10, {}},
    Cut{"AsManyAsAPartHoldsAreTheDocumentItself", report_html(10), 10, {}},
    Cut{"ManyAreTheCoverThenFullPartsThenTheRest", report_html(25), 10, {10, 10, 5}},
    Cut{"OneMoreThanAPart", report_html(11), 10, {10, 1}},
    Cut{"NotAReportIsTheDocumentItself", "<p>jen text</p>", 1, {}},
    Cut{"NoCalculationsIsTheDocumentItself", "<!DOCTYPE html><html><body><p>x</p></body></html>", 1, {}},
    Cut{"NoEndOfBodyIsTheDocumentItself", report_html(3).substr(0, report_html(3).find("</body>")), 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ProtocolCut, PageNumbersDocumentHasTheReportsStyleAndOneEmptyPageEach) {
    const std::string numbers = page_numbers_document(report_html(3), 4);
    EXPECT_NE(numbers.find("<style>@page { margin: 15mm; }</style>"), std::string::npos);
    EXPECT_EQ(numbers.find("OBALKA"), std::string::npos);
    EXPECT_EQ(numbers.find("VYPOCET"), std::string::npos);
    std::size_t breaks = 0;
    for (std::size_t at = numbers.find("break-after: page"); at != std::string::npos;
         at = numbers.find("break-after: page", at + 1)) {
        ++breaks;
    }
    EXPECT_EQ(breaks, 3U);
}

struct Sealing {
    const char* name;
    std::string html;
    std::string kept;     // what the sealed document still holds of it
    std::string removed;  // what it no longer holds; empty: nothing
};

class SealedDocument : public ::testing::TestWithParam<Sealing> {};

TEST_P(SealedDocument, BeginsWithItsPolicyAndNoMetaTagOfTheDocumentTakesEffect) {
    const std::string sealed = sealed_document(GetParam().html, true);
    EXPECT_EQ(
        sealed.rfind("<!DOCTYPE html>\n<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none';", 0),
        0U)
        << sealed;
    EXPECT_NE(sealed.find(GetParam().kept), std::string::npos) << sealed;
    if (!GetParam().removed.empty()) {
        EXPECT_EQ(sealed.find(GetParam().removed), std::string::npos) << sealed;
    }
    // The policy is the only meta tag with an effect; the document keeps a single doctype, ours.
    std::string lowered = sealed;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](char c) { return c | ('a' - 'A'); });
    int effective = 0;
    for (std::size_t at = lowered.find("http-equiv="); at != std::string::npos;
         at = lowered.find("http-equiv=", at + 1)) {
        if (at < 11 || lowered.compare(at - 11, 11, "data-inert-") != 0) ++effective;
    }
    EXPECT_EQ(effective, 1) << sealed;
    EXPECT_EQ(sealed.find("<!DOCTYPE", 1), std::string::npos) << sealed;
    EXPECT_EQ(sealed.find("<!doctype"), std::string::npos) << sealed;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProtocolProgram, SealedDocument, ::testing::Values(
    Sealing{"Refresh", "<!DOCTYPE html><meta http-equiv=\"refresh\" content=\"0; url=soused.html\"/><p>x</p>",
            "<meta data-inert-http-equiv=\"refresh\" content=\"0; url=soused.html\"/><p>x</p>", ""},
    Sealing{"RefreshInCapitalsUnquoted", "<!doctype html>\n<META HTTP-EQUIV=refresh CONTENT=0>",
            "<META data-inert-HTTP-EQUIV=refresh CONTENT=0>", ""},
    Sealing{"RefreshAfterAValueWithAnAngle", "<meta content=\"1>2\" http-equiv='refresh'>",
            "<meta content=\"1>2\" data-inert-http-equiv='refresh'>", ""},
    Sealing{"RefreshAfterASlash", "\xEF\xBB\xBF  <!DOCTYPE html><meta/http-equiv=refresh content=0>",
            "<meta/data-inert-http-equiv=refresh content=0>", "\xEF\xBB\xBF"},
    Sealing{"PolicyOfTheDocument", "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src *\">",
            "<meta data-inert-http-equiv=\"Content-Security-Policy\"", ""},
    Sealing{"TextAboutTheAttributeIsKept", "<p>http-equiv &lt;meta&gt;</p><metadata>m</metadata>",
            "<p>http-equiv &lt;meta&gt;</p><metadata>m</metadata>", "data-inert"},
    Sealing{"UnclosedTagAtTheEnd", "<p>x</p><meta http-equiv", "<p>x</p><meta data-inert-http-equiv", ""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(SealedDocument, WithoutMarginBoxesEmptiesEveryMarginBoxOverTheDocumentsOwnRule) {
    const std::string sealed = sealed_document(report_html(1), false);
    for (const char* box : {"@top-left-corner", "@top-center", "@bottom-right", "@bottom-left-corner", "@left-top"}) {
        EXPECT_NE(sealed.find(std::string(box) + " { content: none !important; }"), std::string::npos) << box;
    }
    EXPECT_EQ(sealed_document(report_html(1), true).find("content: none"), std::string::npos);
}

struct ProgressLine {
    const char* name;
    QString line;
    int done;  // -1: not a progress line
    int total;
};

class ProgressLines : public ::testing::TestWithParam<ProgressLine> {};

TEST_P(ProgressLines, AreReadOnlyWhenWellFormed) {
    const auto step = protocol_progress(GetParam().line);
    if (GetParam().done < 0) {
        EXPECT_FALSE(step.has_value());
        return;
    }
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->done, GetParam().done);
    EXPECT_EQ(step->total, GetParam().total);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProtocolProgram, ProgressLines, ::testing::Values(
    ProgressLine{"First", "progress 1/12\n", 1, 12},
    ProgressLine{"Last", "progress 12/12", 12, 12},
    ProgressLine{"MoreDoneThanThereAre", "progress 13/12", -1, 0},
    ProgressLine{"NoSteps", "progress 0/0", -1, 0},
    ProgressLine{"OtherOutput", "[1207/234054:ERROR:dbus] progress 1/2", -1, 0},
    ProgressLine{"TooLong", "progress 1/99999999999", -1, 0},
    ProgressLine{"Negative", "progress -1/2", -1, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis::protocol

#pragma once
// The protocol's page numbers, "Strana 3 z 13", in the bottom margin of every page.
//
// The report's style asks for them with an @page margin box (@bottom-right). Chromium prints
// margin boxes from version 131; the Chromium inside Qt WebEngine 6.4 (Debian bookworm) does not.
// So vorlanex-protocol prints a second, tiny document with the same engine, the footers alone, one A4 page
// for each page of the protocol, and lays each of its pages over the protocol's page of the same
// number with qpdf, as a form XObject: the numbers stay text, in the report's font, and every page
// keeps its own content untouched. Then only the pages asked for are kept.
#include <string>
#include <vector>

namespace vorlanex::spis::protocol {

// Millimetres, as the report's @page rule gives them.
struct PageMargins {
    double top = 15;
    double right = 15;
    double bottom = 17;
    double left = 15;
};

// An HTML document of `count` A4 pages, to be printed without margins: each holds only
// "Strana N z count", where the report's margin box puts it: right-aligned at the right margin,
// centred in the bottom margin, 8 pt, grey (report/document.cpp, the @bottom-right rule).
std::string footers_html(int count, const PageMargins& margins);

// A PDF, or the Czech reason why there is none.
struct PdfOutcome {
    std::string pdf;
    std::string problem;
    bool ok() const { return problem.empty(); }
};

// The number of pages of `pdf`; 0 with `problem` set when it is not a PDF.
int page_count(const std::string& pdf, std::string& problem);

// `report` with page i of `footers` laid over its page i (both must have as many pages), keeping
// only the pages in `kept` (numbers from 1, ascending; empty keeps every page).
PdfOutcome numbered(const std::string& report, const std::string& footers, const std::vector<int>& kept);

}  // namespace vorlanex::spis::protocol

#pragma once
// The protocol's PDF put together with qpdf: the PDFs of its parts joined into one, with their
// internal links (the contents' links to the calculations), and its pages numbered over the whole
// by laying each page of a second PDF, the page numbers alone ("Strana 3 z 1519", printed by the
// report's own style on empty pages), over the page of the same number as a form XObject: the
// numbers stay text, in the report's font, and every page keeps its own content untouched. Then
// only the pages asked for are kept.
#include <string>
#include <vector>

namespace vorlanex::spis::protocol {

// A PDF, or the Czech reason why there is none.
struct PdfOutcome {
    std::string pdf;
    std::string problem;
    bool ok() const { return problem.empty(); }
};

// The number of pages of `pdf`; 0 with `problem` set when it is not a PDF.
int page_count(const std::string& pdf, std::string& problem);

// The protocol's PDF: the pages of `parts` in order (one part is the browser's PDF as it is; several
// are joined with each part's named destinations, which the contents' links go to), page i of
// `numbers` laid over page i (both must have as many pages; an empty `numbers` lays nothing), and
// only the pages in `kept` kept (numbers from 1, ascending; empty keeps every page).
PdfOutcome assembled(const std::vector<std::string>& parts, const std::string& numbers, const std::vector<int>& kept);

}  // namespace vorlanex::spis::protocol

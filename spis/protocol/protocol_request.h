#pragma once
// What vorlanex-protocol is asked to do, read from its command line, and the page margins it reads
// from the report's own style.
#include <QPageRanges>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

#include "spis/protocol/page_numbers.h"
#include "spis/protocol/printer_job.h"

namespace vorlanex::spis::protocol {

struct ProtocolRequest {
    QString html;       // the report's HTML file
    QString pdf;        // where the PDF is written; empty when it only goes to the printer
    QPageRanges pages;  // the pages kept; empty keeps every page
    std::optional<PrinterSettings> printer;
};

// The request the command line makes, or a Czech message saying what is wrong with it.
struct ParsedRequest {
    ProtocolRequest request;
    QString problem;
};
ParsedRequest request_from(const QString& html, const QString& pdf, const QString& pages,
                           const std::optional<PrinterSettings>& printer);

// The margins of the first @page rule of a loaded page as WebEngine's CSS object model gives them
// ("15mm", "1.5cm", "0.5in", "12pt", "10px"); the report's own margins for any it cannot read.
PageMargins margins_from(const QVariant& css_margins);

// The pages of a protocol of `count` pages that `pages` keeps, ascending (numbers from 1); none when
// `pages` is empty, which keeps them all.
std::vector<int> kept_pages(const QPageRanges& pages, int count);

}  // namespace vorlanex::spis::protocol

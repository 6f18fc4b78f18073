#pragma once
// What vorlanex-protocol is asked to do, read from its command line.
#include <QPageRanges>
#include <QString>
#include <optional>
#include <vector>

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

// The pages of a protocol of `count` pages that `pages` keeps, ascending (numbers from 1); none when
// `pages` is empty, which keeps them all.
std::vector<int> kept_pages(const QPageRanges& pages, int count);

}  // namespace vorlanex::spis::protocol

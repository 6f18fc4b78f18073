#include "spis/protocol/protocol_request.h"

#include <QFileInfo>

namespace vorlanex::spis::protocol {

ParsedRequest request_from(const QString& html, const QString& pdf, const QString& pages,
                           const std::optional<PrinterSettings>& printer) {
    ParsedRequest parsed{{html, pdf, {}, printer}, {}};
    if (html.isEmpty()) {
        parsed.problem = QStringLiteral("Chybí --html: soubor HTML protokolu.");
    } else if (!QFileInfo(html).isFile() || !QFileInfo(html).isReadable()) {
        parsed.problem = QStringLiteral("Soubor protokolu „%1“ nelze přečíst.").arg(html);
    } else if (pdf.isEmpty() && !printer) {
        parsed.problem = QStringLiteral("Chybí --pdf nebo --printer: kam protokol dát.");
    } else if (printer && printer->printer.empty()) {
        parsed.problem = QStringLiteral("Tiskárna nemá jméno.");
    } else if (printer && printer->copies < 1) {
        parsed.problem = QStringLiteral("Počet kopií musí být alespoň 1.");
    } else if (!pages.isEmpty()) {
        parsed.request.pages = QPageRanges::fromString(pages);
        if (parsed.request.pages.isEmpty()) {
            parsed.problem = QStringLiteral("Rozsah stran „%1“ nelze přečíst (například 1-3,5).").arg(pages);
        }
    }
    return parsed;
}

std::vector<int> kept_pages(const QPageRanges& pages, int count) {
    std::vector<int> kept;
    if (pages.isEmpty()) return kept;
    for (int page = 1; page <= count; ++page) {
        if (pages.contains(page)) kept.push_back(page);
    }
    return kept;
}

}  // namespace vorlanex::spis::protocol

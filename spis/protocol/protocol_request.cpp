#include "spis/protocol/protocol_request.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace vorlanex::spis::protocol {

namespace {

std::optional<double> millimetres_of(const QString& length) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)\\s*(mm|cm|in|pt|px)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(length);
    if (!match.hasMatch()) return std::nullopt;
    const double value = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    if (unit == QLatin1String("mm")) return value;
    if (unit == QLatin1String("cm")) return value * 10;
    if (unit == QLatin1String("in")) return value * 25.4;
    if (unit == QLatin1String("pt")) return value * 25.4 / 72;
    return value * 25.4 / 96;  // px
}

}  // namespace

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

PageMargins margins_from(const QVariant& css_margins) {
    PageMargins margins;
    const QVariantList list = css_margins.toList();
    if (list.size() != 4) return margins;
    double* const sides[] = {&margins.top, &margins.right, &margins.bottom, &margins.left};
    for (int i = 0; i < 4; ++i) {
        if (const auto value = millimetres_of(list[i].toString())) *sides[i] = *value;
    }
    return margins;
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

#include "spis/copied_results.h"

#include <QMimeData>
#include <QStringList>

#include "qtshared/qt_text.h"
#include "report/document.h"

namespace vorlanex::spis {

namespace {

// A result the run wrote, not blank: its caption, symbol, text and unit (a number's "1" and a
// message's "text" left out).
struct ShownResult {
    QString caption, symbol, text, unit;
};

std::vector<ShownResult> shown_results(const casefile::RecordedRun& run) {
    std::vector<ShownResult> results;
    for (const page::Field& field : run.page().layout.fields) {
        const QString text = qtshared::qt_text(run.text_after(field.id)).trimmed();
        if (field.role != page::FieldRole::Result || text.isEmpty()) continue;
        const bool unit_shown = field.unit != "1" && field.unit != "text";
        results.push_back({qtshared::qt_text(report::caption_of(field)), qtshared::qt_text(field.id), text,
                           unit_shown ? qtshared::qt_text(field.unit) : QString()});
    }
    return results;
}

// The warnings in order, then the fault, each on one line.
QStringList remarks(const casefile::RecordedRun& run) {
    const auto one_line = [](const std::string& text) {
        return qtshared::qt_text(text).replace(QLatin1Char('\r'), QLatin1Char(' '));
    };
    QStringList lines;
    for (const std::string& warning : run.warnings()) lines << QStringLiteral("Varování: ") + one_line(warning);
    if (run.fault()) lines << QStringLiteral("Chyba: ") + one_line(*run.fault());
    return lines;
}

}  // namespace

QString results_text(const casefile::RecordedRun& run) {
    QStringList lines;
    for (const ShownResult& result : shown_results(run)) {
        QString line = QStringLiteral("%1 (%2) = %3").arg(result.caption, result.symbol, result.text);
        if (!result.unit.isEmpty()) line += QLatin1Char(' ') + result.unit;
        lines << line;
    }
    lines << remarks(run);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString results_html(const casefile::RecordedRun& run) {
    QString html =
        QStringLiteral("<table>\n<tr><th>Veličina</th><th>Značka</th><th>Hodnota</th><th>Jednotka</th></tr>\n");
    for (const ShownResult& result : shown_results(run)) {
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td><td>%4</td></tr>\n")
                    .arg(result.caption.toHtmlEscaped(), result.symbol.toHtmlEscaped(), result.text.toHtmlEscaped(),
                         result.unit.toHtmlEscaped());
    }
    html += QStringLiteral("</table>\n");
    for (const QString& remark : remarks(run)) html += QStringLiteral("<p>%1</p>\n").arg(remark.toHtmlEscaped());
    return html;
}

QMimeData* results_mime_data(const casefile::RecordedRun& run) {
    auto* data = new QMimeData;
    data->setText(results_text(run));
    data->setHtml(results_html(run));
    return data;
}

}  // namespace vorlanex::spis

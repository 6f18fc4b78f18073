#include "spis/case_thumbnail.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <QtMath>

#include <algorithm>

#include "qtshared/icon_painting.h"
#include "qtshared/qt_text.h"
#include "report/document.h"

namespace vorlanex::spis {

namespace {

using namespace qtshared::palette;

QString text_or(const std::optional<std::string>& text, const QString& otherwise) {
    return text && !text->empty() ? qtshared::qt_text(*text) : otherwise;
}

// Draws `text` word-wrapped at the top of `area` in `font`, at most `lines` lines, the last one
// elided when the text goes on; returns how much height it took.
qreal draw_block(QPainter& painter, const QRectF& area, const QString& text, const QFont& font, int lines) {
    if (text.isEmpty()) return 0;
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    QTextLayout layout(text, font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    qreal top = area.top();
    for (int shown = 0; shown < lines && top + metrics.height() <= area.bottom(); ++shown) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(area.width());
        const QString line_text = shown == lines - 1 ? metrics.elidedText(text.mid(line.textStart()).simplified(),
                                                                          Qt::ElideRight, area.width())
                                                     : text.mid(line.textStart(), line.textLength()).trimmed();
        painter.drawText(QPointF(area.left(), top + metrics.ascent()), line_text);
        top += metrics.lineSpacing();
    }
    layout.endLayout();
    return top - area.top() + metrics.lineSpacing() / 3;
}

QFont font_of(qreal pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(1, qRound(pixels)));
    font.setBold(bold);
    return font;
}

}  // namespace

QImage case_thumbnail(const casefile::CaseFile& file, int size) {
    size = std::clamp(size, kSmallestThumbnail, kLargestThumbnail);
    const int width = std::max(1, qRound(size / M_SQRT2));
    QImage image(width, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const qreal border = std::max(1.0, size / 128.0);
    painter.setPen(QPen(kGrey, border));
    painter.setBrush(kWhite);
    painter.drawRect(QRectF(border / 2, border / 2, width - border, size - border));

    const qreal margin = size / 14.0;
    // The calculator's minibus goes in the bottom right corner, a quarter of the sheet wide; the
    // texts stay above it.
    const qreal bus = width / 4.0;
    QRectF area(margin, margin, width - 2 * margin, size - 2 * margin - bus * 0.7);
    const auto place = [&area](qreal taken) { area.setTop(area.top() + taken); };

    painter.setPen(kInk);
    place(
        draw_block(painter, area, text_or(file.header.title, QStringLiteral("Případ")), font_of(size / 12.0, true), 2));
    painter.setPen(kDarkGrey);
    place(draw_block(painter, area, text_or(file.header.reference, QString()), font_of(size / 15.0, false), 1));
    painter.setPen(QPen(kSilver, border));
    painter.drawLine(QPointF(area.left(), area.top()), QPointF(area.right(), area.top()));
    place(margin / 2);

    if (file.calculations.empty()) {
        painter.setPen(kGrey);
        draw_block(painter, area, QStringLiteral("Bez výpočtů"), font_of(size / 14.0, false), 1);
    } else {
        const casefile::Calculation& first = file.calculations.front();
        const QString page = qtshared::qt_text(report::page_name(*first.scenario.page));
        painter.setPen(kInk);
        place(draw_block(painter, area, text_or(first.title, page), font_of(size / 14.0, true), 2));
        painter.setPen(kBlue);
        if (first.title && !first.title->empty()) {
            place(draw_block(painter, area, page, font_of(size / 16.0, false), 2));
        }
        if (file.calculations.size() > 1) {
            painter.setPen(kDarkGrey);
            draw_block(painter, area, QStringLiteral("Další výpočty: %1").arg(file.calculations.size() - 1),
                       font_of(size / 16.0, false), 1);
        }
    }

    painter.translate(width - margin / 2 - bus, size - margin / 2 - bus);
    painter.scale(bus / qtshared::kDrawingSpace, bus / qtshared::kDrawingSpace);
    qtshared::draw_minibus(painter);
    return image;
}

}  // namespace vorlanex::spis

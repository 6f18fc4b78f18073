#include "formula_layout.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPointF>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vorlanex::pictures {
namespace {

constexpr double kSubscriptScale = 0.66;
constexpr int kFractionGap = 2;       // between a fraction's bar and its numerator or denominator
constexpr int kFractionOverhang = 2;  // the bar reaches this far past the wider part
constexpr int kRootGap = 2;           // between the root's bar and the top of the radicand

int scaled(int pixel_size, double factor) { return static_cast<int>(std::lround(pixel_size * factor)); }

QFont serif(const QString& family, int pixel_size, bool italic) {
    QFont font(family);
    font.setPixelSize(pixel_size);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Never borrow a glyph from another face: a missing glyph must be noticed, not substituted.
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias | QFont::NoFontMerging));
    return font;
}

// Pixel rows of ink of `text` around the baseline: the first row above it is -1.
struct Ink {
    int top;
    int bottom;  // one past the last row
};

Ink ink(const QFontMetrics& metrics, const QString& text) {
    const QRect tight = metrics.tightBoundingRect(text);
    return {tight.top(), tight.top() + tight.height()};
}

}  // namespace

FormulaType::FormulaType(const QString& family, int pixel_size)
    : upright_(serif(family, pixel_size, false)),
      italic_(serif(family, pixel_size, true)),
      small_(serif(family, scaled(pixel_size, kSubscriptScale), false)) {
    const Ink plus = ink(QFontMetrics(upright_), "+");
    axis_ = -(plus.top + (plus.bottom - plus.top - 1) / 2);
    drop_ = scaled(pixel_size, 0.22);
    wide_space_ = scaled(pixel_size, 0.28);
    thin_space_ = scaled(pixel_size, 0.18);
}

Box FormulaType::text(const QString& text, const QFont& font) const {
    const QFontMetrics metrics(font);
    for (const QChar character : text) {
        if (!metrics.inFont(character)) {
            std::fprintf(stderr, "the font %s has no glyph for U+%04X\n", qPrintable(font.family()),
                         static_cast<unsigned>(character.unicode()));
            std::exit(EXIT_FAILURE);
        }
    }
    const QRect tight = metrics.tightBoundingRect(text);
    const Ink rows = ink(metrics, text);
    // An italic letter may lean past its advance; the box keeps all of its ink.
    const int width = std::max(metrics.horizontalAdvance(text), tight.left() + tight.width());
    const int left = std::min(0, tight.left());
    return {width - left, std::max(0, -rows.top), std::max(0, rows.bottom),
            [text, font, left](QPainter& painter, int x, int baseline) {
                painter.setFont(font);
                painter.setPen(Qt::black);
                painter.drawText(QPoint(x - left, baseline), text);
            }};
}

Box FormulaType::name(const QString& text) const { return this->text(text, upright_); }

Box FormulaType::variable(const QString& text) const { return this->text(text, italic_); }

Box FormulaType::subscript(Box base, const QString& index) const {
    const Box script = text(index, small_);
    const int drop = drop_;
    return {base.width + script.width, std::max(base.ascent, script.ascent - drop),
            std::max(base.descent, script.descent + drop),
            [base, script, drop](QPainter& painter, int x, int baseline) {
                base.paint(painter, x, baseline);
                script.paint(painter, x + base.width, baseline + drop);
            }};
}

Box FormulaType::relation(const QString& sign) const { return row({gap(wide_space_), name(sign), gap(wide_space_)}); }

Box FormulaType::operation(const QString& sign) const { return row({gap(thin_space_), name(sign), gap(thin_space_)}); }

Box FormulaType::fraction(Box numerator, Box denominator) const {
    const int bar = std::max(numerator.width, denominator.width) + 2 * kFractionOverhang;
    const int axis = axis_;
    // The bar is the single row `axis` rows above the baseline.
    return {bar + 2, axis + kFractionGap + numerator.height(), -axis + 1 + kFractionGap + denominator.height(),
            [numerator, denominator, bar, axis](QPainter& painter, int x, int baseline) {
                const int bar_row = baseline - axis;
                painter.fillRect(QRect(x + 1, bar_row, bar, 1), Qt::black);
                numerator.paint(painter, x + 1 + (bar - numerator.width) / 2,
                                bar_row - kFractionGap - numerator.descent);
                denominator.paint(painter, x + 1 + (bar - denominator.width) / 2,
                                  bar_row + 1 + kFractionGap + denominator.ascent);
            }};
}

Box gap(int width) {
    return {width, 0, 0, [](QPainter&, int, int) {}};
}

Box row(std::vector<Box> boxes) {
    Box line{0, 0, 0, {}};
    for (const Box& box : boxes) {
        line.width += box.width;
        line.ascent = std::max(line.ascent, box.ascent);
        line.descent = std::max(line.descent, box.descent);
    }
    line.paint = [boxes = std::move(boxes)](QPainter& painter, int x, int baseline) {
        for (const Box& box : boxes) {
            box.paint(painter, x, baseline);
            x += box.width;
        }
    };
    return line;
}

Box root(Box radicand) {
    // The sign spans from the bar's row down to one row below the radicand.
    const int height = radicand.height() + kRootGap + 2;
    const int sign = 4 + height / 6;
    return {sign + 2 + radicand.width + 1, radicand.ascent + kRootGap + 1, radicand.descent + 1,
            [radicand, height, sign](QPainter& painter, int x, int baseline) {
                const int bar_row = baseline - radicand.ascent - kRootGap - 1;
                const double top = bar_row + 0.5;
                const double bottom = bar_row + height - 0.5;
                const double tick = bottom - 0.42 * height;
                const QPointF start(x + 0.5, tick + 2.0);
                const QPointF hook(x + 0.3 * sign, tick);
                const QPointF vertex(x + 0.55 * sign, bottom);
                const QPointF summit(x + sign, top);
                painter.setBrush(Qt::NoBrush);
                painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
                painter.drawLine(start, hook);
                painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
                painter.drawLine(vertex, summit);
                painter.setPen(QPen(Qt::black, 1.7, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
                painter.drawLine(hook, vertex);
                painter.fillRect(QRect(x + sign, bar_row, 2 + radicand.width + 1, 1), Qt::black);
                radicand.paint(painter, x + sign + 2, baseline);
            }};
}

Box parenthesised(Box content) {
    const int height = content.height() + 2;
    const int bow = std::max(3, 2 + height / 9);  // how far the curve bulges from its ends
    return {bow + 1 + content.width + 1 + bow, content.ascent + 1, content.descent + 1,
            [content, height, bow](QPainter& painter, int x, int baseline) {
                const double top = baseline - content.ascent - 1;
                const double bottom = top + height;
                const double middle = (top + bottom) / 2.0;
                const double thickness = std::max(1.6, height / 16.0);
                // A crescent: the outer curve down, the inner curve back up. A quadratic curve's
                // middle lies halfway between its ends' line and its control point.
                const auto paren = [&](double end_x, double middle_x, double inward) {
                    QPainterPath path;
                    path.moveTo(end_x, top);
                    path.quadTo(2.0 * middle_x - end_x, middle, end_x, bottom);
                    path.quadTo(2.0 * (middle_x + inward * thickness) - end_x, middle, end_x, top);
                    painter.fillPath(path, Qt::black);
                };
                paren(x + bow, x + 0.4, 1.0);
                const int right = x + bow + 1 + content.width + 1 + bow;
                paren(right - bow, right - 0.4, -1.0);
                content.paint(painter, x + bow + 1, baseline);
            }};
}

}  // namespace vorlanex::pictures

#pragma once
// A small typesetter for the formula pictures. A formula is a tree of boxes, each measured in whole
// pixels around its baseline: names and variables, lowered subscripts, stacked fractions, root signs
// with their bar and stretched parentheses, put side by side in rows. Whole pixels keep the fraction
// and root bars on single pixel rows, so they stay sharp.
#include <QFont>
#include <QPainter>
#include <QString>

#include <functional>
#include <vector>

namespace vorlanex::pictures {

struct Box {
    int width = 0;
    int ascent = 0;   // rows of ink above the baseline
    int descent = 0;  // rows of ink on and below it
    // Draws the box with the left end of its baseline at (x, baseline), in black.
    std::function<void(QPainter&, int x, int baseline)> paint;

    int height() const { return ascent + descent; }
};

// The fonts and spacing of one formula size, in a serif face: the text size, a smaller size for
// subscripts, and the height of the maths axis on which fraction bars sit.
class FormulaType {
public:
    FormulaType(const QString& family, int pixel_size);

    Box name(const QString& text) const;      // upright: EES, GEV, digits, Δ, "pro"
    Box variable(const QString& text) const;  // italic: m, E, I, v
    // `base` followed by `index` set small and lowered below the baseline.
    Box subscript(Box base, const QString& index) const;
    Box variable(const QString& text, const QString& index) const { return subscript(variable(text), index); }
    Box name(const QString& text, const QString& index) const { return subscript(name(text), index); }
    // A relation (=, ≤) or operator (·, +) with space either side, wider around relations.
    Box relation(const QString& sign) const;
    Box operation(const QString& sign) const;
    // `numerator` over `denominator`, centred, with a one-pixel bar on the maths axis.
    Box fraction(Box numerator, Box denominator) const;

private:
    Box text(const QString& text, const QFont& font) const;

    QFont upright_;
    QFont italic_;
    QFont small_;
    int axis_;        // the bar's row above the baseline: the middle of "+"
    int drop_;        // how far a subscript's baseline sits below the base's
    int wide_space_;  // around relations
    int thin_space_;  // around operators
};

// Empty space `width` pixels wide.
Box gap(int width);
// The boxes side by side on one baseline.
Box row(std::vector<Box> boxes);
// A root sign as tall as `radicand`, its bar running over the whole radicand.
Box root(Box radicand);
// `content` between parentheses stretched to its height.
Box parenthesised(Box content);

}  // namespace vorlanex::pictures

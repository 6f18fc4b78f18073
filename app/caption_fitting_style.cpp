#include "app/caption_fitting_style.h"

#include <QStyleOptionGroupBox>

#include <algorithm>

namespace vorlanex::app {

namespace {

// Columns kept free at the right of a caption's gap: the frame's two lines and one of top line.
constexpr int kRightCorner = 3;

int last_free_column(const QStyleOptionGroupBox& box) { return box.rect.right() - kRightCorner; }

// The box with its caption's trailing blanks cut to the room there is for them.
QStyleOptionGroupBox with_fitted_caption(const QStyleOptionGroupBox& box, const QStyle* base) {
    QStyleOptionGroupBox fitted(box);
    const auto gap_right = [&] {
        return base->subControlRect(QStyle::CC_GroupBox, &fitted, QStyle::SC_GroupBoxLabel).right();
    };
    while (fitted.text.endsWith(u' ') && gap_right() > last_free_column(fitted)) fitted.text.chop(1);
    return fitted;
}

}  // namespace

CaptionFittingStyle::CaptionFittingStyle(QStyle* base) : QProxyStyle(base) {}

QRect CaptionFittingStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                          const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || box->text.isEmpty()) {
        return QProxyStyle::subControlRect(control, option, part, widget);
    }
    const QStyleOptionGroupBox fitted = with_fitted_caption(*box, baseStyle());
    QRect rect = QProxyStyle::subControlRect(control, &fitted, part, widget);
    if (part == SC_GroupBoxLabel) {
        // Still too wide: move it left, as far as the frame's left lines allow.
        const int excess = rect.right() - last_free_column(fitted);
        if (excess > 0) rect.translate(-std::min(excess, rect.left() - fitted.rect.left() - 2), 0);
    }
    return rect;
}

void CaptionFittingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                             QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || box->text.isEmpty()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The base style lays the caption out through subControlRect() above and draws the fitted text.
    const QStyleOptionGroupBox fitted = with_fitted_caption(*box, baseStyle());
    QProxyStyle::drawComplexControl(control, &fitted, painter, widget);
}

}  // namespace vorlanex::app

#include "spis/window_fit.h"

#include <algorithm>

namespace vorlanex::spis {

QSize opening_size(const QSize& available) { return kPreferredWindowSize.boundedTo(available); }

QRect fitted_into(const QRect& geometry, const QRect& available) {
    QRect fitted(geometry.topLeft(), geometry.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    return fitted;
}

QList<int> pane_widths(int total, const PaneNeeds& needs) {
    // The form's share of what the list leaves, and the side panel's: three to two.
    constexpr int kFormShare = 3, kShares = 5;
    const int list = std::max(needs.list_narrowest, std::min(needs.list_wanted, total - needs.form_narrowest));
    const int rest = std::max(0, total - list);
    int form = std::max(needs.form_narrowest, rest * kFormShare / kShares);
    int side = rest - form;
    if (side < needs.side_narrowest) {
        // The side panel at its narrowest, the form the rest; if the form would be cut, the side
        // panel gives its room up entirely.
        side = needs.side_narrowest;
        form = rest - side;
        if (form < needs.form_narrowest) {
            side = 0;
            form = rest;
        }
    }
    return {list, form, side};
}

}  // namespace vorlanex::spis

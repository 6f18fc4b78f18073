#pragma once
// How the case window fits the screen it opens on: its size, and the widths of its three panes (the
// list, the form, the diagram and analyses beside it). The form is never narrower than its narrowest
// layout; the side panel gives way first, down to nothing (collapsed, its handle still there to
// drag it out again) when the form needs its room.
#include <QList>
#include <QRect>
#include <QSize>

namespace vorlanex::spis {

// The size the window prefers where the screen has room for it.
inline constexpr QSize kPreferredWindowSize{1280, 800};

// The size the window opens at on a screen whose free area (without panels and docks) is
// `available`: its preferred size, no larger than that area.
QSize opening_size(const QSize& available);

// A window's geometry (remembered from another screen, perhaps larger) moved and shrunk until it
// lies inside `available`; one that lies inside already stays as it is.
QRect fitted_into(const QRect& geometry, const QRect& available);

// What the panes need: the narrowest each may be and what each would like.
struct PaneNeeds {
    int list_narrowest;
    int list_wanted;
    int form_narrowest;
    int side_narrowest;
};

// The widths of the list, the form and the side panel sharing `total` (the handles excluded): the
// list as wide as it likes (down to its narrowest when room is short), the form three fifths of the
// rest and never below its narrowest, the side panel the remainder, or 0 (collapsed) when that is
// below its narrowest.
QList<int> pane_widths(int total, const PaneNeeds& needs);

}  // namespace vorlanex::spis

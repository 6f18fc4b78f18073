#pragma once
// A page tree: a tab control with its captions and the pages it switches between. The pages are
// children of the tab control, laid into its display area; the one selected is shown.
#include <windows.h>

#include <string_view>
#include <vector>

#include "page/layout.h"

namespace vorlanex::winapp {

class PageTabs {
public:
    PageTabs(HWND parent, const page::Rect& rect, HFONT font);

    HWND handle() const { return tabs_; }
    // The area a page fills, in the tab control's client coordinates.
    RECT page_area() const;
    // Adds a tab with `caption` for `page`, a child of handle().
    void add(std::string_view caption, HWND page);
    void select(int index);
    // The index of `page`, or -1 when it is not one of this tree's.
    int index_of(HWND page) const;
    // Shows the page of the tab the user chose; true when the notification was this tree's.
    bool on_notify(const NMHDR& notification);

private:
    HWND tabs_ = nullptr;
    std::vector<HWND> pages_;
};

}  // namespace vorlanex::winapp

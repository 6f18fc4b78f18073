#include "winapp/page_tabs.h"

#include <commctrl.h>

#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

PageTabs::PageTabs(HWND parent, const page::Rect& rect, HFONT font) {
    tabs_ = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, rect.left, rect.top,
                            rect.width, rect.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

RECT PageTabs::page_area() const {
    RECT area{};
    GetClientRect(tabs_, &area);
    TabCtrl_AdjustRect(tabs_, FALSE, &area);
    return area;
}

void PageTabs::add(std::string_view caption, HWND page) {
    std::wstring text = wide_text(caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    TabCtrl_InsertItem(tabs_, static_cast<int>(pages_.size()), &item);
    pages_.push_back(page);
    // A tab in a second row would shrink the display area: the pages are laid out when all tabs are in.
    const RECT area = page_area();
    for (HWND each : pages_) {
        SetWindowPos(each, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PageTabs::select(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    TabCtrl_SetCurSel(tabs_, index);
    for (int each = 0; each < static_cast<int>(pages_.size()); ++each) {
        ShowWindow(pages_[static_cast<std::size_t>(each)], each == index ? SW_SHOW : SW_HIDE);
    }
}

int PageTabs::index_of(HWND page) const {
    for (std::size_t each = 0; each < pages_.size(); ++each) {
        if (pages_[each] == page) return static_cast<int>(each);
    }
    return -1;
}

bool PageTabs::on_notify(const NMHDR& notification) {
    if (notification.hwndFrom != tabs_) return false;
    if (notification.code == TCN_SELCHANGE) select(TabCtrl_GetCurSel(tabs_));
    return true;
}

}  // namespace vorlanex::winapp

#include "winapp/main_window.h"

#include "registry/page_tree.h"
#include "registry/window_furniture.h"
#include "winapp/calculation_page.h"
#include "winapp/text_conversion.h"

namespace vorlanex::winapp {

namespace {

RECT client_area() {
    const page::Rect& area = registry::kClientArea;
    return {area.left, area.top, area.left + area.width, area.top + area.height};
}

page::Rect filling(const page::Rect& area) { return {0, 0, area.width, area.height}; }

}  // namespace

// A page that only holds sub-pages, in a page tree of its own.
class NestedPages final : public Window {
public:
    NestedPages(HWND parent, const RECT& area, HFONT font)
        : Window(parent, area), tabs_(handle(), registry::kNestedPageTree, font) {}
    PageTabs& tabs() { return tabs_; }

private:
    bool on_message(UINT message, WPARAM, LPARAM lparam, LRESULT& result) override {
        if (message != WM_NOTIFY || !tabs_.on_notify(*reinterpret_cast<const NMHDR*>(lparam))) return false;
        result = 0;
        return true;
    }

    PageTabs tabs_;
};

MainWindow::MainWindow(const Environment& environment)
    : Window(nullptr, client_area(), wide_text(registry::kWindowCaption).c_str()),
      environment_(environment),
      page_tree_(handle(), filling(registry::kClientArea), fonts_.font(page::kNormalFont)) {
    HFONT font = fonts_.font(page::kNormalFont);
    auto add_page = [&](PageTabs& tabs, const page::PageDefinition& definition,
                        std::span<const page::HelpButton> program_help_buttons) {
        pages_.push_back(std::make_unique<CalculationPage>(tabs.handle(), tabs.page_area(), definition, environment_,
                                                           fonts_, program_help_buttons));
        return pages_.back()->handle();
    };
    for (const registry::TopPage& top : registry::page_tree()) {
        if (top.page) {
            page_tree_.add(top.caption, add_page(page_tree_, *top.page, top.program_help_buttons));
            continue;
        }
        holders_.push_back(std::make_unique<NestedPages>(page_tree_.handle(), page_tree_.page_area(), font));
        PageTabs& nested = holders_.back()->tabs();
        page_tree_.add(top.caption, holders_.back()->handle());
        for (const registry::SubPage& sub : top.sub_pages) nested.add(sub.caption, add_page(nested, *sub.page, {}));
        nested.select(top.active_sub_page);
    }
    page_tree_.select(0);
}

MainWindow::~MainWindow() {
    // The pages go before the window that holds them; the window, with its tab controls, before the
    // fonts they use.
    pages_.clear();
    holders_.clear();
    destroy();
}

CalculationPage* MainWindow::page(std::string_view key) const {
    for (const auto& candidate : pages_) {
        if (candidate->definition().key == key) return candidate.get();
    }
    return nullptr;
}

void MainWindow::show_page(std::string_view key) {
    const CalculationPage* target = page(key);
    if (!target) return;
    if (const int index = page_tree_.index_of(target->handle()); index >= 0) {
        page_tree_.select(index);
        return;
    }
    for (const auto& holder : holders_) {
        if (const int index = holder->tabs().index_of(target->handle()); index >= 0) {
            holder->tabs().select(index);
            page_tree_.select(page_tree_.index_of(holder->handle()));
        }
    }
}

bool MainWindow::on_message(UINT message, WPARAM, LPARAM lparam, LRESULT& result) {
    switch (message) {
        case WM_NOTIFY:
            if (!page_tree_.on_notify(*reinterpret_cast<const NMHDR*>(lparam))) return false;
            result = 0;
            return true;
        case WM_COMMAND:
            // Enter or Esc in a field: outside a dialog no button is the default, so they start nothing.
            result = 0;
            return true;
        case WM_DESTROY:
            if (quit_when_closed_) PostQuitMessage(0);
            return false;
        default: return false;
    }
}

}  // namespace vorlanex::winapp

#pragma once
// The main window in Windows' controls: the page tree with every calculation page, at its
// designed size and place, as the registry describes it.
#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "winapp/environment.h"
#include "winapp/page_fonts.h"
#include "winapp/page_tabs.h"
#include "winapp/window.h"

namespace vorlanex::winapp {

class CalculationPage;
class NestedPages;

class MainWindow final : public Window {
public:
    // `environment` is copied: the pages keep a reference to the window's copy.
    explicit MainWindow(const Environment& environment);
    ~MainWindow() override;

    // The calculation page with this key, or nullptr for none.
    CalculationPage* page(std::string_view key) const;
    // Brings the calculation page with this key to the front (and the page that holds it).
    void show_page(std::string_view key);
    // When set, closing the window ends the thread's message loop.
    void quit_when_closed() { quit_when_closed_ = true; }

private:
    bool on_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

    const Environment environment_;
    PageFonts fonts_;
    PageTabs page_tree_;
    std::vector<std::unique_ptr<NestedPages>> holders_;
    std::vector<std::unique_ptr<CalculationPage>> pages_;
    bool quit_when_closed_ = false;
};

}  // namespace vorlanex::winapp

#pragma once
// TForm1, the main window: the page tree with every calculation page, at its designed size.
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "app/environment.h"

class QTabWidget;

namespace vorlanex::app {

class CalculationPage;
class PageFonts;

class TForm1 : public QWidget {
public:
    explicit TForm1(const Environment& environment, QWidget* parent = nullptr);
    ~TForm1() override;

    QTabWidget* page_tree() const { return page_tree_; }
    // The calculation page with this key, or nullptr while it is not built.
    CalculationPage* page(std::string_view key) const;
    // Brings the calculation page with this key to the front (and its parent page).
    void show_page(std::string_view key);

private:
    std::unique_ptr<PageFonts> fonts_;  // the pages' fonts and text sizes, shared by every page
    QTabWidget* page_tree_ = nullptr;
    std::vector<CalculationPage*> pages_;
};

}  // namespace vorlanex::app

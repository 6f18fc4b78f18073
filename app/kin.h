#pragma once
// TForm1, the main window: the page tree with every calculation page, at its designed size.
//
// A page's widgets are made when it is first shown (see CalculationPage); while an assistive
// technology listens, every page is built, so a screen reader finds every field by its name on
// the pages behind the first one too.
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "app/environment.h"

class QTabWidget;

namespace vorlanex::app {

class CalculationPage;
class PageFonts;
class BuildPagesForAssistiveTechnology;

class TForm1 : public QWidget {
public:
    explicit TForm1(const Environment& environment, QWidget* parent = nullptr);
    ~TForm1() override;

    QTabWidget* page_tree() const { return page_tree_; }
    // The calculation page with this key, or nullptr for none.
    CalculationPage* page(std::string_view key) const;
    // Brings the calculation page with this key to the front (and its parent page).
    void show_page(std::string_view key);

private:
    void build_every_page();

    // The window's own copy: its pages are built when first shown and keep a reference to it.
    const Environment environment_;
    std::unique_ptr<PageFonts> fonts_;  // the pages' fonts and text sizes, shared by every page
    QTabWidget* page_tree_ = nullptr;
    std::vector<CalculationPage*> pages_;
    std::unique_ptr<BuildPagesForAssistiveTechnology> accessibility_observer_;
};

}  // namespace vorlanex::app

#include "app/kin.h"

#include <QAccessible>
#include <QTabWidget>
#include <functional>

#include "app/calculation_page.h"
#include "app/look.h"
#include "app/page_fonts.h"
#include "app/pictures.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"
#include "registry/window_furniture.h"

namespace vorlanex::app {

namespace {

QRect qt_rect(const page::Rect& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

const QRect kClientArea = qt_rect(registry::kClientArea);

}  // namespace

// Builds every page when accessibility is switched on.
class BuildPagesForAssistiveTechnology final : public QAccessible::ActivationObserver {
public:
    explicit BuildPagesForAssistiveTechnology(std::function<void()> build) : build_(std::move(build)) {
        QAccessible::installActivationObserver(this);
    }
    ~BuildPagesForAssistiveTechnology() override { QAccessible::removeActivationObserver(this); }
    void accessibilityActiveChanged(bool active) override {
        if (active) build_();
    }

private:
    std::function<void()> build_;
};

TForm1::TForm1(const Environment& environment, QWidget* parent)
    : QWidget(parent), environment_(environment), fonts_(std::make_unique<PageFonts>()) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(qtshared::qt_text(registry::kWindowCaption));
    setWindowIcon(main_icon());
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    page_tree_ = new QTabWidget(this);
    page_tree_->setObjectName(QStringLiteral("page_tree"));
    page_tree_->setGeometry(QRect(QPoint(0, 0), kClientArea.size()));
    page_tree_->setElideMode(Qt::ElideNone);
    page_tree_->setUsesScrollButtons(false);

    auto add_page = [&](QTabWidget* tabs, std::string_view caption, const page::PageDefinition* definition,
                        std::span<const page::HelpButton> program_help_buttons = {}) {
        QWidget* content = nullptr;
        if (definition) {
            auto* built = new CalculationPage(*definition, environment_, *fonts_, program_help_buttons);
            pages_.push_back(built);
            content = built;
        } else {
            content = new QWidget;  // a page that only holds sub-pages
        }
        tabs->addTab(content, qtshared::qt_text(caption));
        return content;
    };

    for (const registry::TopPage& top : registry::page_tree()) {
        QWidget* holder = add_page(page_tree_, top.caption, top.page, top.program_help_buttons);
        if (top.sub_pages.empty()) continue;
        auto* nested = new QTabWidget(holder);
        nested->setGeometry(qt_rect(registry::kNestedPageTree));
        nested->setElideMode(Qt::ElideNone);
        nested->setUsesScrollButtons(false);
        for (const registry::SubPage& sub : top.sub_pages) add_page(nested, sub.caption, sub.page);
        nested->setCurrentIndex(top.active_sub_page);
    }
    page_tree_->setCurrentIndex(0);

    apply_reading_order(this, environment.reading_order);

    // The JPEG pictures are decoded now, with the window, once each; a page's widgets, made when
    // the page is first shown, take them from the cache.
    for (const page::PageDefinition* definition : registry::calculation_pages()) {
        for (const page::PicturePlacement& placement : definition->layout.pictures) {
            if (!is_drawn_icon(placement.picture)) picture(placement.picture);
        }
    }

    resize(kClientArea.size());
    move(kClientArea.topLeft());

    accessibility_observer_ = std::make_unique<BuildPagesForAssistiveTechnology>([this] { build_every_page(); });
    if (QAccessible::isActive()) build_every_page();
}

void TForm1::build_every_page() {
    for (CalculationPage* page : pages_) page->build();
}

// Out of line, where PageFonts and the observer are complete.
TForm1::~TForm1() = default;

CalculationPage* TForm1::page(std::string_view key) const {
    for (CalculationPage* candidate : pages_) {
        if (candidate->definition().key == key) return candidate;
    }
    return nullptr;
}

void TForm1::show_page(std::string_view key) {
    CalculationPage* target = page(key);
    if (!target) return;
    // Select it in its page tree, then its holder page in the tree above, up to the window.
    QWidget* selected = target;
    for (QWidget* ancestor = target->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(ancestor)) {
            tabs->setCurrentWidget(selected);
            selected = tabs->parentWidget();
        }
    }
}

}  // namespace vorlanex::app

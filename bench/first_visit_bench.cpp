// The first visit of a page in the window, offscreen: from the click on a tab never shown before to
// the page painted. Pages are built when first shown, so this is the time a user waits the first
// time they open a page: its widgets made, laid out and painted. One benchmark for every page of
// the registry; each iteration makes a fresh window showing a page under another top tab, points
// the inner page trees at the page (they are hidden, so nothing is built), and times the click on
// the top tab until the page's first paint event has been handled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <string>
#include <string_view>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "bench/paint_watch.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;
using vorlanex::app::TForm1;

// The index of the top tab that holds `page`.
int top_tab_of(const TForm1& window, QWidget* page) {
    QWidget* top = page;
    while (top->parentWidget() && top->parentWidget()->parentWidget() != window.page_tree()) top = top->parentWidget();
    return window.page_tree()->indexOf(top);
}

// A page under another top tab than `key`, to start the window on.
std::string_view page_elsewhere(const TForm1& window, std::string_view key) {
    const int target_tab = top_tab_of(window, window.page(key));
    for (const vorlanex::page::PageDefinition* other : vorlanex::registry::calculation_pages()) {
        if (top_tab_of(window, window.page(other->key)) != target_tab) return other->key;
    }
    return {};
}

void first_visit(benchmark::State& state, std::string_view key) {
    const vorlanex::app::Environment environment{vorlanex::numeric::DecimalSeparator(","), QStringLiteral("vorlanex")};
    for (auto _ : state) {
        TForm1 window(environment);
        window.show_page(page_elsewhere(window, key));
        window.show();
        QApplication::processEvents();
        CalculationPage* page = window.page(key);
        // The inner page trees point at the page while they are hidden; the top tab is the click.
        QWidget* selected = page;
        for (QWidget* ancestor = page->parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
            auto* tabs = qobject_cast<QTabWidget*>(ancestor);
            if (!tabs) continue;
            if (tabs == window.page_tree()) break;
            tabs->setCurrentWidget(selected);
            selected = tabs->parentWidget();
        }
        QTabBar* top_tabs = window.page_tree()->tabBar();
        const QPoint tab = top_tabs->tabRect(top_tab_of(window, page)).center();
        if (!page->findChildren<QWidget*>().isEmpty()) state.SkipWithError("the page was built before its visit");
        vorlanex::bench::PaintSeen first_paint;
        page->installEventFilter(&first_paint);

        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(top_tabs, Qt::LeftButton, {}, tab);
        while (!first_paint.painted) QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);

        if (!page->isVisible()) state.SkipWithError("the click did not show the page");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vorlanex::app::apply_window_look();
    for (const vorlanex::page::PageDefinition* page : vorlanex::registry::calculation_pages()) {
        benchmark::RegisterBenchmark(("BM_FirstVisit/" + std::string(page->key)).c_str(), first_visit, page->key)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

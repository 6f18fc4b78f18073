// A press of "Výpočet" on "Kinematika" in the window, offscreen: from the click to every field
// written (the click handler runs the calculation and sets each result field's text), and the same
// with the repaint of the changed fields that follows. The worked example is typed first; each
// press changes the first input between 20 and 21 km/h, so every result field gets a new text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;

QString qstring(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void press_calculate(benchmark::State& state, CalculationPage* page, bool repaint) {
    QLineEdit* speed = page->field("I1");
    QPushButton* button = page->calculate_button();
    const QString speeds[] = {QStringLiteral("20"), QStringLiteral("21")};
    std::size_t press = 0;
    for (auto _ : state) {
        speed->setText(speeds[press++ % 2]);
        button->click();
        if (repaint) QApplication::processEvents();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vorlanex::app::apply_window_look();
    const vorlanex::app::Environment environment{vorlanex::numeric::DecimalSeparator(","), QStringLiteral("vorlanex")};
    vorlanex::app::TForm1 window(environment);
    window.show();
    QApplication::processEvents();

    CalculationPage* page = window.page("kinematika");
    for (const vorlanex::page::FieldText& typed : page->definition().worked_example) {
        page->field(typed.id)->setText(qstring(typed.text));
    }
    benchmark::RegisterBenchmark("BM_ClickToFields/kinematika", press_calculate, page, false);
    benchmark::RegisterBenchmark("BM_ClickToFieldsAndRepaint/kinematika", press_calculate, page, true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

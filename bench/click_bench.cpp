// A press of "Výpočet" on "Kinematika" in the window, offscreen: from the click to every field
// written (the click handler runs the calculation and sets each result field's text), and the same
// with the repaint of the changed fields that follows. The worked example is typed first; each
// press changes the first input between 20 and 21 km/h, so every result field gets a new text.
// Then the text of the error box for a long pasted field: the fault's message quoting the field,
// as many characters long as the benchmark's argument, without spaces or of words.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "app/boxes.h"
#include "app/calculation_page.h"
#include "app/environment.h"
#include "app/kin.h"
#include "app/look.h"
#include "qtshared/qt_text.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::app::CalculationPage;

using vorlanex::qtshared::qt_text;

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

// The error box's text for the message quoting a field of `length` characters ("x" after "x", or
// words of five letters), on the screen the window is on.
void error_box_text(benchmark::State& state, bool words) {
    const auto length = static_cast<std::size_t>(state.range(0));
    std::string field(length, 'x');
    if (words) {
        for (std::size_t space = 5; space < length; space += 6) field[space] = ' ';
    }
    const std::string message = "'" + field + "' is not a valid floating point value.";
    const QMessageBox box;  // the error box's font
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (auto _ : state) benchmark::DoNotOptimize(vorlanex::app::error_box_text(message, box.font(), screen));
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
        page->field(typed.id)->setText(qt_text(typed.text));
    }
    benchmark::RegisterBenchmark("BM_ClickToFields/kinematika", press_calculate, page, false);
    benchmark::RegisterBenchmark("BM_ClickToFieldsAndRepaint/kinematika", press_calculate, page, true);
    benchmark::RegisterBenchmark("BM_ErrorBoxText/no_spaces", error_box_text, false)
        ->Arg(1000)
        ->Arg(100'000)
        ->Arg(1'000'000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ErrorBoxText/words", error_box_text, true)
        ->Arg(1'000'000)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The case window (Vorlanex Spis) offscreen, three figures a user feels:
//   BM_OpenCase          a case of N calculations (bench/make_big_case.py N): from open_case() to the
//                        window showing it (the list, the first calculation, its diagram painted);
//   BM_EditToResults     one character typed into the speed of a braking calculation ("kinematika")
//                        until its results are new and painted and the diagram has its new SVG, the
//                        window's thread free again; in the every-page case and in the big one. Its
//                        counter to_picture_ms: until the diagram's new picture, drawn on a thread
//                        of its own meanwhile, is painted too;
//   BM_ToleranceRunGaps  a tolerance run of 10^5 samples on the reconstruction (every input given a
//                        tolerance) with its tab shown: the longest time the window's thread did not
//                        reach its event loop, measured as the longest gap between the ticks of a 1 ms
//                        timer, from the click on "Spustit" to the table and histogram painted; with
//                        the argument 0, the same window without a run for 0.6 s (the machine's
//                        own share of the gaps).
// Usage: spis_bench BIG_CASE.vorlanex [Google Benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/paint_watch.h"
#include "numeric/arithmetic_mode.h"
#include "spis/calculation_view.h"
#include "spis/case_window.h"
#include "spis/diagram_panel.h"
#include "spis/tolerance_tab.h"

namespace {

using vorlanex::spis::CaseWindow;

const vorlanex::numeric::DecimalSeparator kComma{","};
QString big_case;
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

// Handles events until `seen` has had a paint and nothing more is waiting.
void process_until_painted(const vorlanex::bench::PaintSeen& seen) {
    for (int turn = 0; turn < 1000 && !seen.painted; ++turn) QApplication::processEvents();
    QApplication::processEvents();
}

// Shows the tab that holds `page` in the window's right side.
void show_tab_of(QWidget* page) {
    for (QWidget* holder = page->parentWidget(); holder; holder = holder->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(holder)) {
            tabs->setCurrentWidget(page);
            return;
        }
    }
}

void open_case(benchmark::State& state) {
    CaseWindow window(kComma);
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.open_case(kEveryPageCase);  // another case first, so each open replaces a case
        QApplication::processEvents();
        vorlanex::bench::PaintSeen seen;
        window.calculation_list()->viewport()->installEventFilter(&seen);
        QElapsedTimer timer;
        timer.start();
        const auto problem = window.open_case(big_case);
        process_until_painted(seen);
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
        window.calculation_list()->viewport()->removeEventFilter(&seen);
        if (problem) state.SkipWithError(qPrintable(*problem));
    }
    state.counters["calculations"] = static_cast<double>(window.document().calculations.size());
    if (window.calculation_list()->count() != static_cast<int>(window.document().calculations.size()) ||
        window.selected_row() != 0) {
        state.SkipWithError("the case was not shown whole with its first calculation selected");
    }
}

void edit_to_results(benchmark::State& state, const QString* path) {
    CaseWindow window(kComma);
    window.resize(1280, 800);
    window.show();
    if (const auto problem = window.open_case(*path)) state.SkipWithError(qPrintable(*problem));
    int row = 0;
    while (row < static_cast<int>(window.document().calculations.size()) &&
           window.document().calculations[static_cast<std::size_t>(row)].scenario.page->key != "kinematika") {
        ++row;
    }
    window.select_calculation(row);
    QApplication::processEvents();
    auto* speed = window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("I1"));
    auto* result = window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("R4"));
    if (!speed || !result) {
        state.SkipWithError("no speed field");
        return;
    }
    speed->setFocus();
    speed->setText(QStringLiteral("20"));
    QApplication::processEvents();
    // Each iteration types the speed's last digit anew: 20 km/h, 21, 20, …
    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_0};
    std::size_t typed = 0;
    double to_picture_ms = 0;
    for (auto _ : state) {
        speed->setSelection(1, 1);
        const QByteArray svg_before = window.diagram_panel()->svg();
        const QString result_before = result->text();
        vorlanex::bench::PaintSeen seen;
        result->installEventFilter(&seen);
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(speed, digits[typed++ % 2]);
        process_until_painted(seen);
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) * 1e-9);
        result->removeEventFilter(&seen);
        // The new picture of the diagram, drawn on its own thread, on the screen.
        if (!window.diagram_panel()->drawn()) {  // waiting as the window waits, asleep
            QEventLoop drawing;
            QObject::connect(window.diagram_panel(), &vorlanex::spis::DiagramPanel::picture_drawn, &drawing,
                             &QEventLoop::quit);
            QTimer::singleShot(10'000, &drawing, &QEventLoop::quit);
            drawing.exec();
        }
        QApplication::processEvents();
        to_picture_ms += static_cast<double>(timer.nsecsElapsed()) * 1e-6;
        if (result->text() == result_before || window.diagram_panel()->svg() == svg_before) {
            state.SkipWithError("the edit did not change the result and the diagram");
            break;
        }
    }
    state.counters["to_picture_ms"] = benchmark::Counter(to_picture_ms, benchmark::Counter::kAvgIterations);
}

// The reconstruction of the every-page case, with a tolerance on each of its eight inputs.
constexpr const char* kEveryInputVaried = R"({"I1":{"distribution":"uniform","low":"19","high":"21"},)"
                                          R"("I2":{"distribution":"triangular","low":"7","mode":"8","high":"9"},)"
                                          R"("I3":{"distribution":"normal","mean":"0,7","sd":"0,02"},)"
                                          R"("I4":{"distribution":"uniform","low":"14","high":"16"},)"
                                          R"("I5":{"distribution":"uniform","low":"19","high":"21"},)"
                                          R"("I6":{"distribution":"uniform","low":"0,75","high":"0,85"},)"
                                          R"("I7":{"distribution":"uniform","low":"0,15","high":"0,25"},)"
                                          R"("I8":{"distribution":"uniform","low":"0,9","high":"1,1"}})";

// With samples 0, the same window for as long without a run: how long the machine itself keeps
// the window's thread waiting.
void tolerance_run_gaps(benchmark::State& state) {
    const auto samples = static_cast<int>(state.range(0));
    const bool trace = qEnvironmentVariableIsSet("SPIS_BENCH_TRACE");  // each gap over 4 ms on stderr
    CaseWindow window(kComma);
    window.resize(1280, 800);
    window.show();
    if (const auto problem = window.open_case(kEveryPageCase)) state.SkipWithError(qPrintable(*problem));
    vorlanex::spis::ToleranceTab* tab = window.tolerance_tab();
    show_tab_of(tab);
    double longest_ms = 0, run_ms = 0, over_a_frame = 0;
    for (auto _ : state) {
        // The reconstruction given tolerances on every input, as the case window's own file would.
        vorlanex::casefile::Calculation entry = window.document().calculations.at(0);
        entry.tolerances = kEveryInputVaried;
        tab->show_calculation(&entry, kComma, 0);
        tab->samples_box()->setValue(std::max(samples, 1));
        QApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        qint64 last_tick = 0, longest = 0;
        int long_gaps = 0;
        bool finished = false;
        QTimer ticks;
        ticks.setTimerType(Qt::PreciseTimer);
        ticks.setInterval(1);
        bool measuring = samples == 0;  // with a run, from "Spustit" on
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (!measuring) return;
            longest = std::max(longest, now - last_tick);
            if (now - last_tick > 16'700'000) ++long_gaps;
            if (trace && now - last_tick > 4'000'000) {
                std::fprintf(stderr, "gap of %.1f ms ending %.1f ms after the start%s\n", (now - last_tick) * 1e-6,
                             now * 1e-6, finished ? ", after the run" : "");
            }
            last_tick = now;
        });
        QEventLoop loop;
        QObject::connect(tab, &vorlanex::spis::ToleranceTab::finished, &loop, [&] {
            finished = true;
            QTimer::singleShot(100, &loop, &QEventLoop::quit);  // the table and the histogram painted
        });
        if (samples > 0) {
            QTimer::singleShot(20, tab->start_button(), [&] {
                measuring = true;
                last_tick = clock.nsecsElapsed();
                tab->start_button()->click();
            });
            QTimer::singleShot(120'000, &loop, &QEventLoop::quit);
        } else {
            QTimer::singleShot(600, &loop, &QEventLoop::quit);
        }
        ticks.start();
        last_tick = clock.nsecsElapsed();
        loop.exec();
        ticks.stop();
        QObject::disconnect(tab, &vorlanex::spis::ToleranceTab::finished, &loop, nullptr);
        run_ms = static_cast<double>(clock.nsecsElapsed()) * 1e-6;
        longest_ms = static_cast<double>(longest) * 1e-6;
        over_a_frame = long_gaps;
        state.SetIterationTime(static_cast<double>(longest) * 1e-9);
        if (samples > 0 && !finished) state.SkipWithError("the run did not finish within two minutes");
    }
    state.counters["longest_gap_ms"] = longest_ms;
    state.counters["gaps_over_16.7ms"] = over_a_frame;
    state.counters["run_ms"] = run_ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vorlanex::numeric::set_arithmetic_mode();
    QApplication application(argc, argv);
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: spis_bench BIG_CASE.vorlanex [benchmark options]\n"
                     "       (bench/make_big_case.py 1000 > BIG_CASE.vorlanex)\n");
        return 2;
    }
    big_case = QString::fromLocal8Bit(argv[1]);
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::RegisterBenchmark("BM_OpenCase", open_case)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_EditToResults/every_page", edit_to_results, &kEveryPageCase)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_EditToResults/big_case", edit_to_results, &big_case)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    // The iteration's time is the longest gap; one run per repetition.
    benchmark::RegisterBenchmark("BM_ToleranceRunLongestGap", tolerance_run_gaps)
        ->Arg(100'000)
        ->Arg(0)
        ->Iterations(1)
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

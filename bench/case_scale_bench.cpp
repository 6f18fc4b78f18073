// The case window with a case of 10^5 calculations (the every-page case over and over), offscreen,
// side by side with the way it went before where that way is still a function to call:
//   BM_SaveText/runs     the case's text made by running every calculation (how every save and
//                        every recovery copy made it before);
//   BM_SaveText/kept     the same text from the outcomes the open case keeps (how they make it now);
//   BM_Save/as_before    the steps a save took before: the text by runs, all of it read back, written;
//   BM_Save/first        CaseWindow::save_case whole (the text, its check that it reads back, the
//                        atomic write), the first save of the case as opened: every line written
//                        anew, as none records an outcome yet;
//   BM_Save/after_an_edit  the same after a value typed: the other lines kept as written;
//   BM_RecoveryCopy      the recovery copy written, as its timer writes it a few seconds after an edit;
//   BM_EditTypedValue    one value typed into the selected calculation until the open case, the list
//                        and the form are done with it (the window's thread free again);
//   BM_SaveLongTitles    a case of six calculations titled with 1,000,000 characters each, saved
//                        in a window on the screen, until it has shown the saved state.
// Usage: case_scale_bench [Google Benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>

#include "casefile/case_writer.h"
#include "numeric/arithmetic_mode.h"
#include "spis/calculation_view.h"
#include "spis/case_storage.h"
#include "spis/case_window.h"
#include "version/version.h"

namespace {

using vorlanex::spis::CaseWindow;

constexpr int kCalculations = 100'000;
const vorlanex::numeric::DecimalSeparator kComma{","};
const QString kEveryPageCase = QStringLiteral(VORLANEX_SOURCE_DIR "/tests/cases/every-page.vorlanex");

// The every-page case's calculations over and over, each with an id of its own; `title`, when
// given, is every calculation's title.
std::string case_text(int calculations, const std::string& title = {}) {
    QFile source(kEveryPageCase);
    if (!source.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> lines = source.readAll().trimmed().split('\n');
    std::string text = lines.front().toStdString() + "\n";
    for (int i = 0; i < calculations; ++i) {
        std::string line = lines[1 + i % (lines.size() - 1)].toStdString();
        line.insert(std::string_view(R"({"id":")").size(), std::to_string(i) + "-");
        if (!title.empty()) {
            const std::size_t start = line.find(R"("title":")") + 9;
            line.replace(start, line.find('"', start) - start, title);
        }
        text += line + "\n";
    }
    return text;
}

// A window with a case open, the case's file in a folder of its own.
struct OpenWindow {
    explicit OpenWindow(const std::string& text) : window(kComma) {
        path = folder.filePath(QStringLiteral("case.vorlanex"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray::fromStdString(text));
        file.close();
        problem = window.open_case(path);
    }
    QTemporaryDir folder;
    QString path;
    CaseWindow window;
    std::optional<QString> problem;
};

std::unique_ptr<OpenWindow> big;

OpenWindow& big_case(benchmark::State& state) {
    if (!big) big = std::make_unique<OpenWindow>(case_text(kCalculations));
    if (big->problem) state.SkipWithError(qPrintable(*big->problem));
    return *big;
}

void save_text_by_runs(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlanex::casefile::case_file_text(open.window.document(), vorlanex::kVersion));
    }
}

void save_text_kept(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    for (auto _ : state) benchmark::DoNotOptimize(open.window.open_case().text());
    if (open.window.open_case().text() !=
        vorlanex::casefile::case_file_text(open.window.document(), vorlanex::kVersion)) {
        state.SkipWithError("the kept outcomes give another text than the runs");
    }
}

// The first save of the case as opened (every calculation's line written anew, its outcome recorded
// for the first time), then saves after one value typed (the others' lines kept as written).
void save(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    const QString path = open.folder.filePath(QStringLiteral("saved.vorlanex"));
    auto* speed = open.window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("I1"));
    int saves = 0;
    for (auto _ : state) {
        if (saves++ > 0 && speed) {
            state.PauseTiming();
            speed->setText(speed->text() == QStringLiteral("20") ? QStringLiteral("21") : QStringLiteral("20"));
            state.ResumeTiming();
        }
        if (const auto problem = open.window.save_case(path, CaseWindow::Overwrite::Always)) {
            state.SkipWithError(qPrintable(*problem));
        }
    }
    state.counters["MiB"] = static_cast<double>(QFile(path).size()) / (1 << 20);
}

// The steps a save took before, on the same case: every calculation run for the text, the whole text
// read back, the atomic write. The recovery copy was the same text and write.
void save_as_before(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    const QString path = open.folder.filePath(QStringLiteral("before.vorlanex"));
    for (auto _ : state) {
        const std::string text = vorlanex::casefile::case_file_text(open.window.document(), vorlanex::kVersion);
        if (std::holds_alternative<vorlanex::casefile::CaseError>(vorlanex::casefile::read_case_file(text))) {
            state.SkipWithError("the text does not read back");
        }
        if (const auto problem = vorlanex::spis::write_atomically(path, text))
            state.SkipWithError(qPrintable(*problem));
    }
}

void recovery_copy(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    for (auto _ : state) open.window.write_recovery_copy();
}

void edit_typed_value(benchmark::State& state) {
    OpenWindow& open = big_case(state);
    open.window.select_calculation(kCalculations / 2);  // a "kinematika": rows 0, 8, 16, …
    auto* speed = open.window.calculation_view()->findChild<QLineEdit*>(QStringLiteral("I1"));
    if (!speed) {
        state.SkipWithError("no speed field");
        return;
    }
    const QString texts[] = {QStringLiteral("21"), QStringLiteral("20")};
    std::size_t typed = 0;
    for (auto _ : state) {
        speed->setText(texts[typed++ % 2]);
        QApplication::processEvents();
    }
}

void save_long_titles(benchmark::State& state) {
    OpenWindow open(case_text(6, std::string(1'000'000, 'x')));
    if (open.problem) state.SkipWithError(qPrintable(*open.problem));
    open.window.show();
    QApplication::processEvents();
    const QString path = open.folder.filePath(QStringLiteral("saved.vorlanex"));
    for (auto _ : state) {
        if (const auto problem = open.window.save_case(path, CaseWindow::Overwrite::Always)) {
            state.SkipWithError(qPrintable(*problem));
        }
        QApplication::processEvents();  // the window shows what the save changed
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    vorlanex::numeric::set_arithmetic_mode();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlanex Spis benchmark"));
    benchmark::RegisterBenchmark("BM_SaveText/runs", save_text_by_runs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveText/kept", save_text_kept)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Save/as_before", save_as_before)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Save/first", save)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Save/after_an_edit", save)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RecoveryCopy", recovery_copy)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_EditTypedValue", edit_typed_value)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_SaveLongTitles", save_long_titles)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    big.reset();
    return 0;
}

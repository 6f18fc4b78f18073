// Tolerances of "Kinematika": 10^6 samples with all eight inputs varied against 10^6 plain
// calculations of the same page in the same run, and the samples on one thread against two (wall
// time). Each benchmark is one run of 10^6; compare them side by side. The plain calculations are
// timed twice: on the worked example typed once (the processor learns every branch of it), and on
// input sets drawn as the samples' are, typed afresh for each calculation, which is what the
// samples compute; the difference between the samples and these is the cost of the sampling itself.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>
#include <variant>
#include <vector>

#include "numeric/arithmetic_mode.h"
#include "numeric/show_number.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"
#include "tolerance/sample_draw.h"
#include "tolerance/sampling.h"

namespace {

using namespace vorlanex;

constexpr std::uint64_t kRuns = 1'000'000;
const numeric::DecimalSeparator kComma(",");

// Processor time of the whole process (every thread), in seconds: steadier than wall time while
// other programs share the machine.
double processor_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

const page::PageDefinition& kinematika() { return *registry::find_page("kinematika"); }

// The worked example's inputs, each varied around its value.
std::vector<tolerance::Tolerance> varied() {
    const std::pair<const char*, const char*> forms[] = {
        {"I1", "20..25"}, {"I2", "8..10"},    {"I3", "0,7..0,8..0,9"}, {"I4", "15~2"},
        {"I5", "20..22"}, {"I6", "0,8..0,9"}, {"I7", "0,2..0,3"},      {"I8", "1~0,1~0,8..1,2"}};
    std::vector<tolerance::Tolerance> tolerances;
    for (const auto& [field, text] : forms) {
        tolerances.push_back(
            {field, std::get<tolerance::Distribution>(tolerance::parse_short_form(field, text, kComma))});
    }
    return tolerances;
}

void BM_PlainCalculations(benchmark::State& state) {
    numeric::set_arithmetic_mode();
    page::FieldMapPort port(kinematika(), kComma);
    for (const auto& typed : kinematika().worked_example) port.preset(typed.id, typed.text);
    const double start = processor_seconds();
    for (auto _ : state) {
        for (std::uint64_t i = 0; i < kRuns; ++i) benchmark::DoNotOptimize(page::press_calculate(kinematika(), port));
    }
    state.counters["processor_s"] = processor_seconds() - start;
}

// 2^16 input sets drawn from the samples' distributions, each as the texts a sample types: more
// than the processor can learn, few enough to stay in memory beside the run.
constexpr std::uint64_t kInputSets = 1 << 16;

void BM_PlainCalculationsOfDrawnInputs(benchmark::State& state) {
    numeric::set_arithmetic_mode();
    const auto tolerances = varied();
    std::vector<std::string> texts;
    for (std::uint64_t set = 0; set < kInputSets; ++set) {
        tolerance::SampleStream stream(2, set);
        for (const auto& tolerance : tolerances) {
            texts.push_back(numeric::show_number(tolerance::draw(tolerance.distribution, stream), kComma));
        }
    }
    page::FieldMapPort port(kinematika(), kComma);
    const double start = processor_seconds();
    for (auto _ : state) {
        for (std::uint64_t i = 0; i < kRuns; ++i) {
            const std::string* set = &texts[(i % kInputSets) * tolerances.size()];
            for (std::size_t f = 0; f < tolerances.size(); ++f) port.preset(tolerances[f].field, set[f]);
            benchmark::DoNotOptimize(page::press_calculate(kinematika(), port));
        }
    }
    state.counters["processor_s"] = processor_seconds() - start;
}

void BM_Samples(benchmark::State& state) {
    const auto tolerances = varied();
    const tolerance::SamplingSettings settings{kRuns, 1, static_cast<unsigned>(state.range(0))};
    const double start = processor_seconds();
    for (auto _ : state) {
        benchmark::DoNotOptimize(tolerance::run_samples(kinematika(), {}, kComma, tolerances, settings));
    }
    state.counters["processor_s"] = processor_seconds() - start;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

BENCHMARK(BM_PlainCalculations)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PlainCalculationsOfDrawnInputs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Samples)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

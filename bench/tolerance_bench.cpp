// Tolerances of "Kinematika": 10^6 samples with all eight inputs varied against 10^6 plain
// calculations of the same page in the same run, and the samples on one thread against two (wall
// time). Each benchmark is one run of 10^6; compare them side by side.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>
#include <variant>
#include <vector>

#include "numeric/arithmetic_mode.h"
#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"
#include "tolerance/sampling.h"

namespace {

using namespace vorlanex;

constexpr std::uint64_t kRuns = 1'000'000;
const numeric::DecimalSeparator kComma(",");

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
    for (auto _ : state) {
        for (std::uint64_t i = 0; i < kRuns; ++i) benchmark::DoNotOptimize(page::press_calculate(kinematika(), port));
    }
}

void BM_Samples(benchmark::State& state) {
    const auto tolerances = varied();
    const tolerance::SamplingSettings settings{kRuns, 1, static_cast<unsigned>(state.range(0))};
    for (auto _ : state) {
        benchmark::DoNotOptimize(tolerance::run_samples(kinematika(), {}, kComma, tolerances, settings));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

BENCHMARK(BM_PlainCalculations)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Samples)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

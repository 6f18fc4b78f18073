// One press of "Výpočet" on every page of the registry, on the page without a window: the reads,
// checks, formulas, roundings and writes of a whole run of the page's worked example.
#include <benchmark/benchmark.h>

#include <string>

#include "page/field_map_port.h"
#include "page/press_calculate.h"
#include "registry/page_tree.h"

namespace {

using vorlanex::page::FieldMapPort;
using vorlanex::page::PageDefinition;

void run_worked_example(benchmark::State& state, const PageDefinition* page) {
    FieldMapPort port(*page, vorlanex::numeric::DecimalSeparator(","));
    for (const auto& typed : page->worked_example) port.preset(typed.id, typed.text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vorlanex::page::press_calculate(*page, port));
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    for (const PageDefinition* page : vorlanex::registry::calculation_pages()) {
        benchmark::RegisterBenchmark(("BM_Page/" + std::string(page->key)).c_str(), run_worked_example, page);
    }
    return true;
}();

}  // namespace

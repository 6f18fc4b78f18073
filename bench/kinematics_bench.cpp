// One press of "Výpočet" on the braking pages, on a page of plain field texts (no window): the
// reads, checks, formulas, roundings and writes of a whole run.
#include <benchmark/benchmark.h>

#include <string_view>
#include <utility>
#include <vector>

#include "page/field_map_port.h"
#include "kinematics/braking_bounds_page.h"
#include "kinematics/braking_page.h"

namespace {

using vorlanex::page::FieldMapPort;
using Fields = std::vector<std::pair<std::string_view, std::string_view>>;

void run_page(benchmark::State& state, const vorlanex::page::PageDefinition& page, const Fields& inputs) {
    FieldMapPort port(page, vorlanex::numeric::DecimalSeparator(","));
    for (const auto& [id, text] : inputs) port.preset(id, text);
    for (auto _ : state) {
        page.calculate(port);
        benchmark::ClobberMemory();
    }
}

void BM_Kinematika(benchmark::State& state) {
    run_page(state, vorlanex::kinematics::braking_page(),
             {{"I1", "20"}, {"I2", "8"}, {"I3", "0,7"}, {"I4", "15"}, {"I5", "20"}, {"I6", "0,8"}, {"I7", "0,2"},
              {"I8", "1"}});
}
BENCHMARK(BM_Kinematika);

void BM_KinematikaMeze(benchmark::State& state) {
    run_page(state, vorlanex::kinematics::braking_bounds_page(),
             {{"J1.lo", "20"}, {"J1.hi", "25"}, {"J2.lo", "8"}, {"J2.hi", "10"}, {"J3.lo", "0,7"}, {"J3.hi", "0,9"},
              {"J4.lo", "15"}, {"J4.hi", "20"}, {"J5.lo", "20"}, {"J5.hi", "22"}, {"J6.lo", "0,8"}, {"J6.hi", "0,9"},
              {"J7.lo", "0,2"}, {"J7.hi", "0,3"}, {"J8.lo", "1"}, {"J8.hi", "1,2"}});
}
BENCHMARK(BM_KinematikaMeze);

}  // namespace

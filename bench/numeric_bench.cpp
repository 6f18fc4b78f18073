// parse_number and show_number against the C library's strtod and snprintf("%.15g") on the same
// field texts and values. Each iteration handles the whole set; "per_call" is the time of one
// call.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "numeric/parse_number.h"
#include "numeric/show_number.h"

namespace {

using vorlanex::numeric::DecimalSeparator;

// Texts as typed into the fields, and results as the pages show them.
const std::vector<std::string> kFieldTexts = {"20",          "0,8",    "42,702", "0,17052859036965", "9,80665",
                                              "1,5",         "120",    "0,7",    "13,8888888888889", "-3,25",
                                              "1234567,891", "0,0001", "1E-5",   " 12,5 ",           "2500"};

// The same texts with the C library's decimal point.
std::vector<std::string> with_point(std::vector<std::string> texts) {
    for (std::string& text : texts) {
        for (char& c : text) {
            if (c == ',') c = '.';
        }
    }
    return texts;
}

// Values as the calculations produce them: divisions, square roots, rounded results.
std::vector<double> calculated_values() {
    volatile double g = 9.80665, mu = 0.8, v = 50, s = 20.5;
    return {2.0 / 3,       v / 3.6,     0.1 + 0.2,        mu * g,        std::sqrt(2 * mu * g * s), 7.845, 13.889,
            12.5,          1234567.891, 0.17052859036965, s / (v / 3.6), v * v / (2 * mu * g),      1e-5,  100,
            v * 3.6 * 1000};
}

void set_per_call(benchmark::State& state, std::size_t calls_per_iteration) {
    state.counters["per_call"] =
        benchmark::Counter(static_cast<double>(calls_per_iteration),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_parse_number(benchmark::State& state) {
    const DecimalSeparator comma(",");
    for (auto _ : state) {
        for (const std::string& text : kFieldTexts)
            benchmark::DoNotOptimize(vorlanex::numeric::parse_number(text, comma));
    }
    set_per_call(state, kFieldTexts.size());
}
BENCHMARK(BM_parse_number);

void BM_strtod(benchmark::State& state) {
    const std::vector<std::string> texts = with_point(kFieldTexts);
    for (auto _ : state) {
        for (const std::string& text : texts) benchmark::DoNotOptimize(std::strtod(text.c_str(), nullptr));
    }
    set_per_call(state, texts.size());
}
BENCHMARK(BM_strtod);

void BM_show_number(benchmark::State& state) {
    const DecimalSeparator comma(",");
    const std::vector<double> values = calculated_values();
    for (auto _ : state) {
        for (const double value : values) benchmark::DoNotOptimize(vorlanex::numeric::show_number(value, comma));
    }
    set_per_call(state, values.size());
}
BENCHMARK(BM_show_number);

void BM_snprintf(benchmark::State& state) {
    const std::vector<double> values = calculated_values();
    std::array<char, 32> buffer{};
    for (auto _ : state) {
        for (const double value : values) {
            benchmark::DoNotOptimize(std::snprintf(buffer.data(), buffer.size(), "%.15g", value));
            benchmark::ClobberMemory();
        }
    }
    set_per_call(state, values.size());
}
BENCHMARK(BM_snprintf);

// snprintf into a std::string, as a field text would need it.
void BM_snprintf_to_string(benchmark::State& state) {
    const std::vector<double> values = calculated_values();
    std::array<char, 32> buffer{};
    for (auto _ : state) {
        for (const double value : values) {
            const int length = std::snprintf(buffer.data(), buffer.size(), "%.15g", value);
            benchmark::DoNotOptimize(std::string(buffer.data(), static_cast<std::size_t>(length)));
        }
    }
    set_per_call(state, values.size());
}
BENCHMARK(BM_snprintf_to_string);

}  // namespace

#pragma once
// What the samples of one result field came to, over the numbers the field showed.
//
// Percentiles are nearest rank: with the field's n numbers sorted, the p-th percentile is the
// number at rank ceil(p / 100 × n) (the first at least), so it is always a number the field showed
// and its text is that field's text. The mean is the sum of the numbers in the order of the samples,
// formed in extended precision, divided by n, and rounded to the most decimal places any of the
// field's texts had (a field shown to 3 places gives a mean to 3 places; an unrounded field, its
// 15 significant digits).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/decimal_separator.h"
#include "tolerance/text_counts.h"

namespace vorlanex::tolerance {

// A percentile reported: its level in thousandths, its name in the command's JSON, and the level
// as Czech writes it in percent, which the case window's column ("P2,5") and the report's heading
// ("2,5 %") caption it with.
struct PercentileLevel {
    int per_mille;
    std::string_view json_name;
    std::string_view czech_percent;
};

// The percentiles reported, from the lowest; every writer of a summary iterates them.
// clang-format off
inline constexpr std::array<PercentileLevel, 5> kPercentiles{{
    {25,  "p2_5",  "2,5"},
    {50,  "p5",    "5"},
    {500, "p50",   "50"},
    {950, "p95",   "95"},
    {975, "p97_5", "97,5"},
}};
// clang-format on

// The median's place among them; the lowest and the highest bound the band a histogram marks.
inline constexpr std::size_t kMedianPercentile = [] {
    std::size_t i = 0;
    while (i < kPercentiles.size() && kPercentiles[i].per_mille != 500) ++i;
    return i;
}();
static_assert(kMedianPercentile < kPercentiles.size(), "the median is among the percentiles reported");

// A share in thousandths as Czech writes it in percent: 950 gives "95", 25 gives "2,5".
std::string czech_percent(int per_mille);
// Bars of a field's histogram, from its minimum to its maximum.
inline constexpr std::size_t kHistogramBars = 40;

struct FieldSummary {
    std::string field;
    std::uint64_t count = 0;  // samples in which the field received a number
    // The texts as the field shows them; empty when count is 0.
    std::string min, max, mean;
    std::array<std::string, kPercentiles.size()> percentiles;  // at the levels of kPercentiles
    // Counts of the numbers in kHistogramBars equal bars from the minimum to the maximum (the last
    // bar includes the maximum); one bar when all numbers are equal; empty when count is 0.
    std::vector<std::uint64_t> histogram;
    double low = 0, high = 0;  // the minimum and the maximum as numbers
    // A field whose texts are words (tolerance/text_counts.h): each text it showed in the samples
    // that ran without a fault and how many showed it, the most frequent first; its numbers above
    // are those of no sample (count 0).
    bool words = false;
    std::vector<TextCount> texts;
};

// The rank (1-based) of the p-th percentile among n numbers, p in thousandths.
std::uint64_t nearest_rank(int per_mille, std::uint64_t n);

// The summary of one field from its value per sample (NaN where the sample gave no number; the
// span is reordered) and the most decimal places its texts had.
FieldSummary summarise(std::string field, std::span<double> values, int places,
                       const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::tolerance

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

namespace vorlanex::tolerance {

// The percentiles reported, in thousandths: 2.5, 5, 50, 95 and 97.5 %.
inline constexpr std::array<int, 5> kPercentilesPerMille{25, 50, 500, 950, 975};
// Bars of a field's histogram, from its minimum to its maximum.
inline constexpr std::size_t kHistogramBars = 40;

struct FieldSummary {
    std::string field;
    std::uint64_t count = 0;  // samples in which the field received a number
    // The texts as the field shows them; empty when count is 0.
    std::string min, max, mean;
    std::array<std::string, kPercentilesPerMille.size()> percentiles;
    // Counts of the numbers in kHistogramBars equal bars from the minimum to the maximum (the last
    // bar includes the maximum); one bar when all numbers are equal; empty when count is 0.
    std::vector<std::uint64_t> histogram;
    double low = 0, high = 0;  // the minimum and the maximum as numbers
};

// The rank (1-based) of the p-th percentile among n numbers, p in thousandths.
std::uint64_t nearest_rank(int per_mille, std::uint64_t n);

// The summary of one field from its value per sample (NaN where the sample gave no number; the
// span is reordered) and the most decimal places its texts had.
FieldSummary summarise(std::string field, std::span<double> values, int places,
                       const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::tolerance

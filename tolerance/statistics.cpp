#include "tolerance/statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "numeric/extended.h"
#include "numeric/round_to_places.h"
#include "numeric/show_number.h"

namespace vorlanex::tolerance {

namespace {

// The mean rounded to `places`, where the rounding stays inside its range; else unrounded (then
// show_number's 15 significant digits hold fewer places than asked anyway).
double rounded_mean(long double mean, int places) {
    const long double scale = std::pow(10.0L, places);
    if (!(std::fabs(mean) * scale < 1e18L)) return static_cast<double>(mean);
    return numeric::round_to_places(numeric::Extended(mean), places);
}

// Which of `parts` equal parts of [low, high] (low < high) holds a value; never falls as the value
// rises (a difference, then a product with a positive constant). The halves keep the differences
// finite even between the largest doubles.
class Parts {
public:
    Parts(double low, double high, std::size_t parts)
        : half_low_(low * 0.5), scale_(static_cast<double>(parts) / (high * 0.5 - half_low_)), last_(parts - 1) {}
    std::size_t of(double value) const {
        return std::min(static_cast<std::size_t>((value * 0.5 - half_low_) * scale_), last_);
    }

private:
    double half_low_;
    double scale_;
    std::size_t last_;
};

// A histogram's bars: the share of the width below the value, times the bars, as a reader would
// work it out; where the width itself is too large for a double, the halves of Parts.
std::vector<std::uint64_t> histogram(std::span<const double> numbers, double low, double high) {
    if (!(low < high)) return {numbers.size()};
    std::vector<std::uint64_t> bars(kHistogramBars, 0);
    const double width = high - low;
    if (!std::isfinite(width)) {
        const Parts bar(low, high, kHistogramBars);
        for (const double value : numbers) ++bars[bar.of(value)];
        return bars;
    }
    for (const double value : numbers) {
        const double position = (value - low) / width * static_cast<double>(kHistogramBars);
        ++bars[std::min(static_cast<std::size_t>(position), kHistogramBars - 1)];
    }
    return bars;
}

// Buckets the numbers are counted into to find the ones at given ranks.
constexpr std::size_t kSelectionBuckets = std::size_t{1} << 12;

// The numbers at the given ranks (0-based, ascending), by counting rather than sorting: the numbers
// are spread over equal buckets from low to high (the bucket of a number never falls as the number
// rises), the bucket holding each rank is found from the counts, and only the numbers of those few
// buckets are gathered and ordered. Two passes over the numbers in all.
template <std::size_t N>
std::array<double, N> numbers_at_ranks(std::span<const double> numbers, double low, double high,
                                       const std::array<std::size_t, N>& ranks) {
    std::array<double, N> found{};
    if (!(low < high)) {
        found.fill(low);
        return found;
    }
    const Parts buckets(low, high, kSelectionBuckets);
    const auto bucket_of = [&](double value) { return buckets.of(value); };
    std::vector<std::size_t> counts(kSelectionBuckets, 0);
    for (const double value : numbers) ++counts[bucket_of(value)];

    // Each rank's bucket and its place among that bucket's numbers.
    std::array<std::size_t, N> bucket{}, place{};
    std::size_t below = 0, b = 0;
    for (std::size_t i = 0; i < N; ++i) {
        while (below + counts[b] <= ranks[i]) below += counts[b++];
        bucket[i] = b;
        place[i] = ranks[i] - below;
    }
    std::array<std::vector<double>, N> gathered;
    for (std::size_t i = 0; i < N; ++i) gathered[i].reserve(counts[bucket[i]]);
    for (const double value : numbers) {
        const std::size_t of = bucket_of(value);
        for (std::size_t i = 0; i < N; ++i) {
            if (of == bucket[i]) {
                gathered[i].push_back(value);
                break;  // the first rank of a bucket gathers for all ranks in it
            }
        }
    }
    for (std::size_t i = 0; i < N; ++i) {
        std::size_t first = i;
        while (first > 0 && bucket[first - 1] == bucket[i]) --first;
        std::vector<double>& in_bucket = gathered[first];
        const auto at = in_bucket.begin() + static_cast<std::ptrdiff_t>(place[i]);
        std::nth_element(in_bucket.begin(), at, in_bucket.end());
        found[i] = *at;
    }
    return found;
}

}  // namespace

std::string czech_percent(int per_mille) {
    std::string text = std::to_string(per_mille / 10);
    if (per_mille % 10 != 0) text += "," + std::to_string(per_mille % 10);
    return text;
}

std::uint64_t nearest_rank(int per_mille, std::uint64_t n) {
    const std::uint64_t rank = (static_cast<std::uint64_t>(per_mille) * n + 999) / 1000;
    return std::max<std::uint64_t>(rank, 1);
}

FieldSummary summarise(std::string field, std::span<double> values, int places,
                       const numeric::DecimalSeparator& separator) {
    FieldSummary summary;
    summary.field = std::move(field);
    // The numbers to the front, in the order of the samples, summed and bounded on the way.
    long double sum = 0;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    std::size_t count = 0;
    for (const double value : values) {
        if (std::isnan(value)) continue;
        values[count++] = value;
        sum += value;
        low = std::min(low, value);
        high = std::max(high, value);
    }
    const std::span<double> numbers = values.first(count);
    summary.count = count;
    if (numbers.empty()) return summary;

    const auto show = [&](double value) { return numeric::show_number(value, separator); };
    summary.low = low;
    summary.high = high;
    summary.min = show(low);
    summary.max = show(high);
    summary.mean = show(rounded_mean(sum / static_cast<long double>(numbers.size()), places));
    summary.histogram = histogram(numbers, low, high);

    std::array<std::size_t, kPercentiles.size()> ranks{};
    for (std::size_t i = 0; i < ranks.size(); ++i) ranks[i] = nearest_rank(kPercentiles[i].per_mille, count) - 1;
    const auto percentiles = numbers_at_ranks(numbers, low, high, ranks);
    for (std::size_t i = 0; i < ranks.size(); ++i) summary.percentiles[i] = show(percentiles[i]);
    return summary;
}

}  // namespace vorlanex::tolerance

#include "tolerance/statistics.h"

#include <algorithm>
#include <cmath>
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

std::vector<std::uint64_t> histogram(std::span<const double> numbers, double low, double high) {
    if (!(low < high)) return {numbers.size()};
    std::vector<std::uint64_t> bars(kHistogramBars, 0);
    const double width = high - low;
    for (const double value : numbers) {
        const double position = (value - low) / width * static_cast<double>(kHistogramBars);
        const auto bar = std::min(static_cast<std::size_t>(position), kHistogramBars - 1);
        ++bars[bar];
    }
    return bars;
}

}  // namespace

int decimal_places(std::string_view text, const numeric::DecimalSeparator& separator) {
    const auto exponent_at = text.find_first_of("Ee");
    const std::string_view digits = text.substr(0, exponent_at);
    const auto separator_at = digits.find(separator.text());
    int places = 0;
    if (separator_at != std::string_view::npos) {
        places = static_cast<int>(digits.size() - separator_at - separator.text().size());
    }
    if (exponent_at != std::string_view::npos) {
        int exponent = 0;
        bool negative = false;
        for (const char c : text.substr(exponent_at + 1)) {
            if (c == '-') negative = true;
            if (c >= '0' && c <= '9' && exponent < 1000) exponent = exponent * 10 + (c - '0');
        }
        places += negative ? exponent : -exponent;
    }
    return std::max(places, 0);
}

std::uint64_t nearest_rank(int per_mille, std::uint64_t n) {
    const std::uint64_t rank = (static_cast<std::uint64_t>(per_mille) * n + 999) / 1000;
    return std::max<std::uint64_t>(rank, 1);
}

FieldSummary summarise(std::string field, std::span<double> values, int places,
                       const numeric::DecimalSeparator& separator) {
    FieldSummary summary;
    summary.field = std::move(field);
    // The numbers to the front, in the order of the samples.
    const auto end = std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); });
    const std::span<double> numbers(values.begin(), end);
    summary.count = numbers.size();
    if (numbers.empty()) return summary;

    long double sum = 0;
    double low = numbers.front(), high = numbers.front();
    for (const double value : numbers) {
        sum += value;
        low = std::min(low, value);
        high = std::max(high, value);
    }
    const auto show = [&](double value) { return numeric::show_number(value, separator); };
    summary.low = low;
    summary.high = high;
    summary.min = show(low);
    summary.max = show(high);
    summary.mean = show(rounded_mean(sum / static_cast<long double>(numbers.size()), places));
    summary.histogram = histogram(numbers, low, high);

    // Each rank selected in the part above the rank before it.
    auto from = numbers.begin();
    for (std::size_t i = 0; i < kPercentilesPerMille.size(); ++i) {
        const auto at =
            numbers.begin() + static_cast<std::ptrdiff_t>(nearest_rank(kPercentilesPerMille[i], numbers.size()) - 1);
        std::nth_element(from, at, numbers.end());
        summary.percentiles[i] = show(*at);
        from = at;
    }
    return summary;
}

}  // namespace vorlanex::tolerance

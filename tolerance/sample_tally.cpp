#include "tolerance/sample_tally.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "numeric/faults.h"
#include "numeric/parse_number.h"

namespace vorlanex::tolerance {

namespace {

constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kTextCountBytesPerField = 16 * 1024;

}  // namespace

std::vector<ResultField> result_fields(const page::PageDefinition& page) {
    std::vector<ResultField> results;
    for (std::size_t i = 0; i < page.layout.fields.size(); ++i) {
        const page::Field& field = page.layout.fields[i];
        if (field.role == page::FieldRole::Result) results.push_back({field.id, i, declares_words(field)});
    }
    return results;
}

SampleNumbers sample_numbers(std::span<const ResultField> results, std::uint64_t samples) {
    SampleNumbers numbers(results.size());
    for (std::size_t r = 0; r < results.size(); ++r) {
        if (!results[r].declared_words) numbers[r].assign(samples, kNoNumber);
    }
    return numbers;
}

std::uint64_t most_text_count_memory(std::size_t result_fields, unsigned jobs) {
    return kTextCountBytesPerField * result_fields * std::max(1u, jobs);
}

SampleTally::SampleTally(std::span<const ResultField> results, const numeric::DecimalSeparator& separator,
                         SampleNumbers& numbers)
    : results_(results),
      separator_(&separator),
      numbers_(&numbers),
      places_(results.size(), 0),
      texts_(results.size()) {}

void SampleTally::count(SeenTexts& seen, std::string_view text, std::uint64_t sample) {
    auto found = seen.find(text);
    if (found == seen.end()) found = seen.emplace(std::string(text), Seen{0, sample}).first;
    ++found->second.samples;
    found->second.first = std::min(found->second.first, sample);
}

double SampleTally::number_shown(std::string_view text, std::size_t r) {
    if (text.empty()) return kNoNumber;
    try {
        const numeric::ShownNumber shown = numeric::read_shown_number(text, *separator_);
        places_[r] = std::max(places_[r], shown.decimal_places);
        return shown.value;
    } catch (const numeric::Fault&) {
        return kNoNumber;  // one of the page's own words
    }
}

void SampleTally::record(std::uint64_t sample, std::span<const std::string_view> texts,
                         std::span<const std::string> warnings, const std::optional<std::string>& fault) {
    if (fault) count(faults_, *fault, sample);
    for (const std::string& warning : warnings) count(warnings_, warning, sample);
    for (std::size_t r = 0; r < results_.size(); ++r) {
        // A field that declares words is counted as it stands; any other keeps its number, and
        // what is not a number is counted in case the field turns out to show no number at all.
        if (results_[r].declared_words) {
            if (!fault) texts_[r].add(texts[r]);
            continue;
        }
        const double number = number_shown(texts[r], r);
        (*numbers_)[r][sample] = number;
        if (!fault && std::isnan(number)) texts_[r].add(texts[r]);
    }
}

std::vector<TextCount> SampleTally::in_order_of_first(std::span<const SampleTally> tallies,
                                                      SeenTexts SampleTally::*which) {
    SeenTexts all;
    for (const SampleTally& tally : tallies) {
        for (const auto& [text, seen] : tally.*which) {
            auto [entry, added] = all.emplace(text, seen);
            if (added) continue;
            entry->second.samples += seen.samples;
            entry->second.first = std::min(entry->second.first, seen.first);
        }
    }
    std::vector<std::pair<std::uint64_t, TextCount>> ordered;
    for (const auto& [text, seen] : all) ordered.push_back({seen.first, {text, seen.samples}});
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TextCount> counts;
    for (auto& [first, text_count] : ordered) counts.push_back(std::move(text_count));
    return counts;
}

SamplingSummary SampleTally::summary_without_results(std::span<const SampleTally> tallies, std::uint64_t samples,
                                                     std::uint64_t seed) {
    SamplingSummary summary;
    summary.samples = samples;
    summary.seed = seed;
    summary.warnings = in_order_of_first(tallies, &SampleTally::warnings_);
    summary.faults = in_order_of_first(tallies, &SampleTally::faults_);
    return summary;
}

FieldSummary SampleTally::summarise_result(std::size_t r, std::span<const SampleTally> tallies, SampleNumbers& numbers,
                                           const numeric::DecimalSeparator& separator) {
    int places = 0;
    TextCounts texts;
    for (const SampleTally& tally : tallies) {
        places = std::max(places, tally.places_[r]);
        texts.merge(tally.texts_[r]);
    }
    const ResultField& field = tallies.front().results_[r];
    FieldSummary summary = summarise(std::string(field.id), numbers[r], places, separator);
    std::vector<double>().swap(numbers[r]);
    if (field.declared_words || (summary.count == 0 && texts.has_words())) {
        summary.words = true;
        summary.texts = texts.by_count();
    }
    return summary;
}

}  // namespace vorlanex::tolerance

#pragma once
// What the samples of one page come to, gathered one sample at a time on any number of threads:
// the number every result field showed, kept by sample (so the outcome does not depend on which
// thread ran which sample), the counts of the texts of word fields (tolerance/text_counts.h), and
// the warnings and faults. Each thread keeps a SampleTally of its own and records every sample it
// runs; the run's summary is formed from all of them once every sample has run. A run that samples
// several pages together keeps one per page.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/statistics.h"
#include "tolerance/text_counts.h"

namespace vorlanex::tolerance {

struct SamplingSummary {
    std::uint64_t samples = 0;
    std::uint64_t seed = 0;
    std::vector<FieldSummary> results;  // every result field of the page, in the layout's order
    // In the order of the first sample that showed each.
    std::vector<TextCount> warnings;
    std::vector<TextCount> faults;
};

// A result field of the page sampled.
struct ResultField {
    std::string_view id;
    std::size_t layout_index = 0;  // its place among the page's fields
    bool declared_words = false;   // declares_words: its texts are counted, it keeps no numbers
};

// Every result field of the page, in the layout's order.
std::vector<ResultField> result_fields(const page::PageDefinition& page);

// The numbers of every result field by sample (NaN where a sample showed none); a field that
// declares words has none. Shared by the threads: each writes only the samples it runs.
using SampleNumbers = std::vector<std::vector<double>>;
SampleNumbers sample_numbers(std::span<const ResultField> results, std::uint64_t samples);

class SampleTally {
public:
    SampleTally(std::span<const ResultField> results, const numeric::DecimalSeparator& separator,
                SampleNumbers& numbers);

    // One sample's outcome: the texts of the result fields (in the order of `results`), the
    // distinct warnings it showed, and the fault that stopped it, if one did.
    void record(std::uint64_t sample, std::span<const std::string_view> texts, std::span<const std::string> warnings,
                const std::optional<std::string>& fault);

    // The summary of every tally of a run, but for its result fields (summarise_result).
    static SamplingSummary summary_without_results(std::span<const SampleTally> tallies, std::uint64_t samples,
                                                   std::uint64_t seed);
    // The summary of result field r over every tally of the run; its numbers are released.
    static FieldSummary summarise_result(std::size_t r, std::span<const SampleTally> tallies, SampleNumbers& numbers,
                                         const numeric::DecimalSeparator& separator);

private:
    // How many samples ended with a text, and the first of them.
    struct Seen {
        std::uint64_t samples = 0;
        std::uint64_t first = 0;
    };
    using SeenTexts = std::map<std::string, Seen, std::less<>>;
    static void count(SeenTexts& seen, std::string_view text, std::uint64_t sample);
    static std::vector<TextCount> in_order_of_first(std::span<const SampleTally> tallies,
                                                    SeenTexts SampleTally::*which);

    // The number a result field shows, or NaN when it shows none.
    double number_shown(std::string_view text, std::size_t r);

    std::span<const ResultField> results_;
    const numeric::DecimalSeparator* separator_;
    SampleNumbers* numbers_;
    std::vector<int> places_;        // per result field: the most decimal places its numbers had
    std::vector<TextCounts> texts_;  // per result field: its texts that are not numbers
    SeenTexts warnings_;
    SeenTexts faults_;
};

// The most memory the text counts of a run take besides its numbers, in bytes: 16 KiB for each
// result field on each thread. The texts counted are the page's own words (a page writes into a
// result field a number or one of a few fixed texts), a few nodes of under 100 bytes per field;
// 16 KiB holds well over a hundred.
std::uint64_t most_text_count_memory(std::size_t result_fields, unsigned jobs);

}  // namespace vorlanex::tolerance

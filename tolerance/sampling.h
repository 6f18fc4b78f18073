#pragma once
// N samples of a page: in each, every input with a tolerance gets a value drawn from its
// distribution, written into its field as show_number writes it, and "Výpočet" is pressed exactly as
// if the texts had been typed, so the page's warnings, substitutes and faults apply to every sample.
// Each sample starts from the page as it opens with the typed texts (result fields empty). The
// outcome is the same bytes for any number of threads: sample i depends only on the seed and i,
// the numbers are kept by sample, and the counts add up.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/distribution.h"
#include "tolerance/sample_tally.h"
#include "tolerance/statistics.h"

namespace vorlanex::tolerance {

inline constexpr std::uint64_t kMostSamples = 1'000'000'000;

using TypedTexts = std::span<const std::pair<std::string, std::string>>;

struct SamplingSettings {
    std::uint64_t samples = 0;  // 1 to kMostSamples
    std::uint64_t seed = 1;
    unsigned jobs = 1;  // threads
    // When set and it turns true, the threads take no further samples and the run returns an
    // empty summary (no samples, no results): how a window cancels a run in the background.
    const std::atomic<bool>* stop = nullptr;
};

// An input of a page in a chain that takes, in every sample, the text a field of an earlier page
// of the chain shows after that page's run (an input's text as it stood when "Výpočet" was
// pressed). When it cannot, the page is not run and the sample's outcome there is the fault given.
struct TakenInput {
    std::string input;         // the input of the page that takes
    std::size_t source = 0;    // the page it takes from: an earlier one of the chain
    std::string field;         // the source's field
    std::string when_empty;    // the fault when the source left the field blank or was not run
    std::string when_faulted;  // the fault when the source's run faulted
};

// A page of a chain: its typed texts (without its taken inputs), its tolerances and its taken inputs.
struct ChainPage {
    const page::PageDefinition* page = nullptr;
    TypedTexts typed;
    std::span<const Tolerance> tolerances;
    std::vector<TakenInput> taken;
};

// Whether a field showing `text` looks empty: a page clears a field it has nothing for with a blank.
bool shows_nothing(std::string_view text);

// Told now and then how many samples are done, on the calling thread.
using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// The first thing that makes the run impossible, naming the field: a tolerance on a field the page
// does not have or on a result field, a field given two tolerances, a number of samples outside
// 1 to kMostSamples.
std::optional<InputError> check_sampling(const page::PageDefinition& page, std::span<const Tolerance> tolerances,
                                         std::uint64_t samples);

// The most memory a run of `samples` samples of `page` on `jobs` threads takes, in bytes: 8 bytes
// per sample for each result field that keeps numbers (every one but those that declare words), as
// much again for each such field summarised at the same time (one per thread at most: finding a
// field's percentiles gathers the numbers of a few buckets, all of them when they crowd into one),
// the counts of the word texts (most_text_count_memory) and 20 MB for the program itself. Measured on "Kinematika" (18
// result fields) from 10^5 to 10^7 samples, the peak stays under it.
std::uint64_t most_sampling_memory(const page::PageDefinition& page, std::uint64_t samples, unsigned jobs);

// The same for a chain of pages sampled together (its last page the one summarised): the numbers of
// the last page, 64 KiB for each other page on each thread (its fields' texts, a few kilobytes).
std::uint64_t most_chain_sampling_memory(std::span<const ChainPage> chain, std::uint64_t samples, unsigned jobs);

// The run, on settings.jobs threads; `typed` holds the texts of the fields without a tolerance that
// differ from the page's defaults. Expects check_sampling to have passed. Needs
// most_sampling_memory.
SamplingSummary run_samples(const page::PageDefinition& page, TypedTexts typed,
                            const numeric::DecimalSeparator& separator, std::span<const Tolerance> tolerances,
                            const SamplingSettings& settings, const Progress& progress = {});

// A chain of linked pages sampled together, the last one summarised: in each sample every page in
// the chain's order draws its own tolerances (from its own stream: SampleStream with its position),
// takes its taken inputs from the pages before it, and is pressed. The summary's warnings are the
// last page's; its faults are the last page's, or the fault of a taken input that could not be had.
// A chain of one page is run_samples. Expects check_sampling to have passed for every page.
SamplingSummary run_chain_samples(std::span<const ChainPage> chain, const numeric::DecimalSeparator& separator,
                                  const SamplingSettings& settings, const Progress& progress = {});

}  // namespace vorlanex::tolerance

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

// The run, on settings.jobs threads; `typed` holds the texts of the fields without a tolerance that
// differ from the page's defaults. Expects check_sampling to have passed. Needs
// most_sampling_memory.
SamplingSummary run_samples(const page::PageDefinition& page, TypedTexts typed,
                            const numeric::DecimalSeparator& separator, std::span<const Tolerance> tolerances,
                            const SamplingSettings& settings, const Progress& progress = {});

}  // namespace vorlanex::tolerance

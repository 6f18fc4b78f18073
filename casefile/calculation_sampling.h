#pragma once
// A calculation of a case made ready for a tolerance run: the distributions of its "tolerances"
// read with the case's separator, and its texts without the fields those distributions replace.
// The command and the case window both sample a case's calculations from it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "casefile/case_file.h"
#include "numeric/decimal_separator.h"
#include "tolerance/distribution.h"
#include "tolerance/sampling.h"

namespace vorlanex::casefile {

struct CalculationSampling {
    std::vector<std::pair<std::string, std::string>> typed;  // the fields without a tolerance
    std::vector<tolerance::Tolerance> tolerances;            // in the order the file gives them
};

// The sampling of a page with these typed texts and this "tolerances" object (as written), checked
// for `samples` samples (a tolerance the page cannot take, a text that is not a number, a number of
// samples out of range), or the first error, naming the field. No object gives no tolerances.
std::variant<CalculationSampling, tolerance::InputError> sampling_of(
    const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> fields,
    const std::optional<std::string>& tolerances, const numeric::DecimalSeparator& separator, std::uint64_t samples);

// The same for a calculation of a case file, its linked inputs left out of its typed texts (they
// take their sources' texts in each sample); a tolerance on a linked input is refused.
std::variant<CalculationSampling, tolerance::InputError> sampling_of(const Calculation& calculation,
                                                                     const numeric::DecimalSeparator& separator,
                                                                     std::uint64_t samples);

// A calculation of a case sampled with the sources it takes from (through any number of links):
// every one of them in the order they run, the calculation last, each with its sampling and its
// taken inputs. `chain` points into `samplings`, so a ChainSampling is moved, never copied.
struct ChainSampling {
    std::vector<const Calculation*> calculations;  // in the order they run, the calculation last
    std::vector<CalculationSampling> samplings;    // of each
    std::vector<tolerance::ChainPage> chain;       // of each
    std::vector<std::string> through;              // the ids (as messages name them) of the sources with tolerances

    ChainSampling() = default;
    ChainSampling(ChainSampling&&) = default;
    ChainSampling& operator=(ChainSampling&&) = default;
    ChainSampling(const ChainSampling&) = delete;
    ChainSampling& operator=(const ChainSampling&) = delete;

    // Whether a sample of it can differ from another: the calculation or a source has tolerances.
    bool sampled() const { return calculations.back()->tolerances || !through.empty(); }
};

// The chain of the calculation at `index` of `file`, every page checked for `samples` samples; or
// the first error, naming the calculation's line when it is a source's.
std::variant<ChainSampling, tolerance::InputError> chain_sampling_of(const CaseFile& file, std::size_t index,
                                                                     std::uint64_t samples);

}  // namespace vorlanex::casefile

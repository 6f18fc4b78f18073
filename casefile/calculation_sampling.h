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

// The same for a calculation of a case file; one with links and tolerances is refused.
std::variant<CalculationSampling, tolerance::InputError> sampling_of(const Calculation& calculation,
                                                                     const numeric::DecimalSeparator& separator,
                                                                     std::uint64_t samples);

}  // namespace vorlanex::casefile

#pragma once
// The tolerance report of a whole case: a cover with the case's description, the number of samples,
// the seed and where the report came from, a list of contents, and one section for each calculation
// that has tolerances, under its title and note, holding what the tolerance report of that
// calculation alone holds (tolerance_report.h).
#include <chrono>
#include <span>
#include <string>

#include "casefile/calculation_sampling.h"
#include "casefile/case_file.h"
#include "report/document.h"
#include "tolerance/sampling.h"

namespace vorlanex::report {

// One calculation's run.
struct SampledCalculation {
    const casefile::Calculation* calculation;
    const casefile::CalculationSampling* sampling;
    tolerance::SamplingSummary summary;
};

std::string make_case_tolerance_report(const casefile::CaseFile& file, std::span<const SampledCalculation> runs,
                                       std::chrono::year_month_day date, const Provenance& provenance);

}  // namespace vorlanex::report

#pragma once
// A calculation's kept analyses run from their settings (calculation_analyses.h): its tolerances
// sampled with the kept samples and seed, exactly as the case window's tab and `vorlanex-calc
// --tolerance N --seed S` sample them (the same numbers for any number of threads), and its sweep
// run as `--sweep FIELD=FROM..TO/STEPS` runs it. The protocol prints what comes out.
#include <optional>
#include <string>
#include <vector>

#include "casefile/calculation_sampling.h"
#include "casefile/case_file.h"
#include "tolerance/sampling.h"
#include "tolerance/sweep.h"

namespace vorlanex::casefile {

struct ToleranceOutcome {
    CalculationSampling sampling;
    tolerance::SamplingSummary summary;
};

struct SweepOutcome {
    tolerance::SweepRange range;
    std::vector<tolerance::SweepRow> rows;
};

// What came of each kept analysis: its outcome, or why it could not be run (a calculation without
// tolerances, a run that did not fit in memory).
struct AnalysesRun {
    std::optional<ToleranceOutcome> tolerance;
    std::optional<std::string> tolerance_problem;
    std::optional<SweepOutcome> sweep;
    std::optional<std::string> sweep_problem;
};

// Why a calculation's tolerance analysis cannot run: it has no tolerances.
inline constexpr std::string_view kNoTolerances = "the calculation has no tolerances";
// Why it is not run alone: it takes inputs from other calculations of the case.
inline constexpr std::string_view kTakesFromSources =
    "the calculation takes inputs from others: it is sampled with its sources";

// The calculation's kept analyses run on `jobs` threads; nothing is run for one it does not keep.
AnalysesRun run_analyses(const Calculation& calculation, const numeric::DecimalSeparator& separator, unsigned jobs);

}  // namespace vorlanex::casefile

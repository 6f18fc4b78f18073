#include "casefile/analyses_run.h"

#include <algorithm>
#include <new>

namespace vorlanex::casefile {

namespace {

std::variant<ToleranceOutcome, std::string> run_tolerance(const Calculation& calculation,
                                                          const ToleranceAnalysis& settings,
                                                          const numeric::DecimalSeparator& separator, unsigned jobs) {
    if (!calculation.tolerances) return std::string(kNoTolerances);
    // Alone, its linked inputs would hold texts of its own, not what their sources show: a linked
    // calculation is sampled with its sources (chain_sampling_of), which needs the whole case.
    if (!calculation.links.empty()) return std::string(kTakesFromSources);
    auto sampling = sampling_of(calculation, separator, settings.samples);
    if (auto* error = std::get_if<tolerance::InputError>(&sampling)) return std::move(error->message);
    ToleranceOutcome outcome{std::get<CalculationSampling>(std::move(sampling)), {}};
    tolerance::SamplingSettings run;
    run.samples = settings.samples;
    run.seed = settings.seed;
    run.jobs = std::max(1u, jobs);
    try {
        outcome.summary = tolerance::run_samples(*calculation.scenario.page, outcome.sampling.typed, separator,
                                                 outcome.sampling.tolerances, run);
    } catch (const std::bad_alloc&) {
        return "not enough memory for " + std::to_string(settings.samples) + " samples";
    }
    return outcome;
}

}  // namespace

AnalysesRun run_analyses(const Calculation& calculation, const numeric::DecimalSeparator& separator, unsigned jobs) {
    AnalysesRun run;
    if (const auto& settings = calculation.analyses.tolerance) {
        auto outcome = run_tolerance(calculation, *settings, separator, jobs);
        if (auto* problem = std::get_if<std::string>(&outcome)) {
            run.tolerance_problem = std::move(*problem);
        } else {
            run.tolerance = std::get<ToleranceOutcome>(std::move(outcome));
        }
    }
    if (const auto& settings = calculation.analyses.sweep) {
        auto range = checked_sweep_analysis(*calculation.scenario.page, *settings, separator);
        if (auto* error = std::get_if<tolerance::SweepError>(&range)) {
            run.sweep_problem = error->message;  // the reader checked it: only a changed page gets here
        } else {
            const auto& swept = std::get<tolerance::SweepRange>(range);
            run.sweep = SweepOutcome{
                swept, tolerance::run_sweep(*calculation.scenario.page, calculation.scenario.fields, separator, swept)};
        }
    }
    return run;
}

}  // namespace vorlanex::casefile

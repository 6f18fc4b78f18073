#pragma once
// A calculation's kept analyses in its section of the case report: the tolerance run (its samples
// and seed, every input with its distribution, the percentiles of every result with its caption,
// the counts of warnings and faults, the histograms) and the sweep (the swept input, the chart of
// every result), each as the tolerance and the sweep report show them (tolerance_report.h).
#include <string>

#include "casefile/analyses_run.h"
#include "casefile/case_file.h"

namespace vorlanex::report {

// The part for `calculation` with `run` (casefile::run_analyses), the case's `separator`; empty for
// a calculation that keeps no analysis.
std::string analyses_part(const casefile::Calculation& calculation, const casefile::AnalysesRun& run,
                          const numeric::DecimalSeparator& separator);

}  // namespace vorlanex::report

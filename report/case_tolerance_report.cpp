#include "report/case_tolerance_report.h"

#include <vector>

#include "report/case_report.h"
#include "report/tolerance_report.h"

namespace vorlanex::report {

std::string make_case_tolerance_report(const casefile::CaseFile& file, std::span<const SampledCalculation> runs,
                                       std::chrono::year_month_day date, const Provenance& provenance) {
    std::vector<const casefile::Calculation*> sampled;
    for (const SampledCalculation& run : runs) sampled.push_back(run.calculation);
    // Every calculation runs with the same number of samples and the same seed.
    std::string facts =
        "<tr><th>Výpočtů s tolerancemi</th><td class=\"count\">" + std::to_string(runs.size()) + "</td></tr>\n";
    if (!runs.empty()) {
        facts += "<tr><th>Vzorků</th><td class=\"samples\">" + std::to_string(runs.front().summary.samples) +
                 "</td></tr>\n<tr><th>Semínko</th><td class=\"seed\">" + std::to_string(runs.front().summary.seed) +
                 "</td></tr>\n";
    }
    std::string html = document_start("Rozbor tolerancí spisu – " + case_title(file)) +
                       case_cover(file, "ROZBOR TOLERANCÍ SPISU", facts, date, provenance) + case_contents(sampled);
    for (const SampledCalculation& run : runs) {
        const casefile::Calculation& calculation = *run.calculation;
        html += calculation_section_start(calculation, "ROZBOR TOLERANCÍ");
        html += tolerance_body(*calculation.scenario.page, run.sampling->typed, file.separator,
                               run.sampling->tolerances, run.summary);
        html += "</section>\n";
    }
    return html + document_end();
}

}  // namespace vorlanex::report

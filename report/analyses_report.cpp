#include "report/analyses_report.h"

#include "report/markup.h"
#include "report/tolerance_report.h"

namespace vorlanex::report {

namespace {

std::string not_run(std::string_view what, const std::string& why) {
    const std::string reason =
        why == casefile::kNoTolerances ? std::string("výpočet nemá tolerance vstupů") : user_text(why);
    return "<p class=\"note analysis-not-run\">" + std::string(what) + " nelze provést: " + reason + ".</p>\n";
}

}  // namespace

std::string analyses_part(const casefile::Calculation& calculation, const casefile::AnalysesRun& run,
                          const numeric::DecimalSeparator& separator) {
    if (calculation.analyses.empty()) return {};
    const page::PageDefinition& page = *calculation.scenario.page;
    std::string html;
    if (const auto& settings = calculation.analyses.tolerance) {
        html +=
            "<section class=\"analysis tolerance-analysis\">\n<h2 class=\"analysis-title\">Rozbor tolerancí</h2>\n"
            "<p class=\"analysis-settings\">Vzorků: <span class=\"samples\">" +
            std::to_string(settings->samples) + "</span>, semínko: <span class=\"seed\">" +
            std::to_string(settings->seed) + "</span>.</p>\n";
        html += run.tolerance ? tolerance_body(page, run.tolerance->sampling.typed, separator,
                                               run.tolerance->sampling.tolerances, run.tolerance->summary)
                              : not_run("Rozbor tolerancí", run.tolerance_problem.value_or(""));
        html += "</section>\n";
    }
    if (calculation.analyses.sweep) {
        html += "<section class=\"analysis sweep-analysis\">\n<h2 class=\"analysis-title\">Průběh výsledků</h2>\n";
        html += run.sweep ? sweep_body(page, calculation.scenario.fields, separator, run.sweep->range, run.sweep->rows)
                          : not_run("Průběh výsledků", run.sweep_problem.value_or(""));
        html += "</section>\n";
    }
    return html;
}

}  // namespace vorlanex::report

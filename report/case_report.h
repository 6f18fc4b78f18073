#pragma once
// The report of a whole case file: a cover with the case's description and where the report came
// from, a list of contents, and one section for each calculation, each under its title and note,
// holding the very report a single run of it gives (report.h) and, for a calculation that keeps
// analyses, their outcome run from the kept settings (analyses_report.h). Where a calculation's
// recorded outcome differs from today's run, its section says so, field by field.
#include <chrono>
#include <span>
#include <string>
#include <string_view>

#include "casefile/case_file.h"
#include "casefile/recorded_run.h"
#include "report/document.h"

namespace vorlanex::report {

struct CaseReport {
    std::string html;
    bool completed = false;  // false when a fault stopped some calculation
};

// `runs` are the case's calculations run once (casefile::run_case), in the case's order.
CaseReport make_case_report(const casefile::CaseFile& file, std::span<const casefile::RecordedRun> runs,
                            std::chrono::year_month_day date, const Provenance& provenance);

// What the case's reports share. The case's title ("Spis" when it has none); a calculation's
// title (its page's name when it has none).
std::string case_title(const casefile::CaseFile& file);
std::string calculation_title(const casefile::Calculation& calculation);
// The cover: "VORLANEX · `kind`", the case's title and facts, `more_facts` (table rows), where the
// report came from.
std::string case_cover(const casefile::CaseFile& file, std::string_view kind, const std::string& more_facts,
                       std::chrono::year_month_day date, const Provenance& provenance);
// The list of contents, linking to each calculation's section.
std::string case_contents(std::span<const casefile::Calculation* const> calculations);
// The start of a calculation's section, which begins a printed page: "`kind` · ŘÁDEK n", its
// title and note. The caller closes it with "</section>".
std::string calculation_section_start(const casefile::Calculation& calculation, std::string_view kind);

}  // namespace vorlanex::report

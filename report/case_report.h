#pragma once
// The report of a whole case file: a cover with the case's description and where the report came
// from, a list of contents, and one section for each calculation, each under its title and note,
// holding the very report a single run of it gives (report.h). Where a calculation's recorded
// outcome differs from today's run, its section says so, field by field.
#include <chrono>
#include <string>

#include "casefile/case_file.h"
#include "report/document.h"

namespace vorlanex::report {

struct CaseReport {
    std::string html;
    bool completed = false;  // false when a fault stopped some calculation
};

CaseReport make_case_report(const casefile::CaseFile& file, std::chrono::year_month_day date,
                            const Provenance& provenance);

}  // namespace vorlanex::report

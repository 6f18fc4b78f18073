#pragma once
// The expert's exhibit: one press of "Výpočet" on a page, written as one printable Czech page
// (self-contained HTML for A4: inline CSS and SVG, no scripts, nothing fetched). It names the page
// and the date, lists every input as typed and as used, every warning box in order, every result
// field with its caption, unit and text exactly as the window shows it, the fault that stopped the
// run and the fields that then kept their old texts, the number rules, and for the braking pages
// the path–time diagram. Every value is the text of a field after the page's own calculation ran
// on a page without a window; the report forms no number of its own.
#include <chrono>
#include <span>
#include <string>
#include <utility>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "report/document.h"

namespace vorlanex::casefile {
class RecordedRun;
}

namespace vorlanex::report {

struct Report {
    std::string html;
    bool completed = false;  // false when a fault stopped the run
};

// The page as it opens, `typed` texts set in its fields (FIELD, TEXT), "Výpočet" pressed once, and
// the report of it, dated `date`, ending with where it came from.
Report make_report(const page::PageDefinition& page, std::span<const std::pair<std::string, std::string>> typed,
                   const numeric::DecimalSeparator& separator, std::chrono::year_month_day date,
                   const Provenance& provenance);

// An input whose text a case's calculation took from another calculation's field: the source as
// the report names it (its title, else its id) and the field.
struct TakenInput {
    std::string input;
    std::string source;
    std::string field;
};

// The report of a run without its document around it and without its provenance, as
// <div class="run">…</div>: a single report holds it, and a case report one for each calculation,
// each input in `taken` said where its text came from.
std::string run_body(const casefile::RecordedRun& run, std::chrono::year_month_day date,
                     std::span<const TakenInput> taken = {});

// Today on the local clock.
std::chrono::year_month_day local_date();

}  // namespace vorlanex::report

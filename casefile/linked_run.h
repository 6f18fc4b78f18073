#pragma once
// A case's calculations run with their links followed: each linked input holds, when "Výpočet" is
// pressed, the text its source's field shows after the source's run (an input's as typed, or its
// page's default). A calculation whose source faulted, or left the field empty, is not run: its
// outcome is that fault alone, naming the input, and nothing else in the case changes.
#include <functional>
#include <string>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/case_links.h"
#include "casefile/recorded_run.h"

namespace vorlanex::casefile {

// The run of a link's source, or nullptr when it has not run.
using SourceRun = std::function<const RecordedRun*(const Link& link)>;

// The calculation run once with its linked inputs taken from their sources' runs, its own typed
// texts of those inputs passed over; or, when a text cannot be taken, not run.
RecordedRun run_with_sources(const Calculation& calculation, const numeric::DecimalSeparator& separator,
                             const SourceRun& source_run);

// Every calculation of the case run once, sources first (run_order), the runs in the case's order.
std::vector<RecordedRun> run_case(const CaseFile& file);

// The calculation at `index` run once, after the sources it takes from (through any number of
// links), and only those, have run: what run_case gives it, for a window that shows one.
RecordedRun run_in_case(const CaseFile& file, std::size_t index);

// Which calculations of the case the one at `index` needs: itself and every calculation it takes
// from, through any number of links (by the case's order).
std::vector<bool> with_its_sources(const CaseFile& file, const IdIndex& ids, std::size_t index);

// The text a link takes from its source's run: an input's text as it stood when "Výpočet" was
// pressed, any other field's text after the run.
const std::string& taken_text(const RecordedRun& source, std::string_view field);

// Why a link's text could not be taken, as the calculation that takes it says it: when its source
// left the field blank or did not run ("vstup I5 převzatý z brzdeni.R15 je prázdný"), and when
// its source faulted ("… nelze převzít: výpočet brzdeni skončil chybou").
struct LinkFaults {
    std::string when_empty;
    std::string when_faulted;
};
LinkFaults link_faults(const Link& link);

}  // namespace vorlanex::casefile

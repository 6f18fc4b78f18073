#pragma once
// One scenario run and written in the batch's result form: the part
//   "events":[{"set":"R1","text":"6,865"},...],"fields":{"I1":"20",...,"R18":"71,482"}
// that a batch result and a case file's "recorded" outcome share, byte for byte.
#include <functional>
#include <string>

#include "casefile/scenario.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::casefile {

// Runs `scenario` (checked: a known page, its own fields, none twice) on a page without a window
// and appends its "events" and "fields" members to `out`, without braces. True when the run
// completed; false when a fault stopped it.
bool append_run_result(const Scenario& scenario, const numeric::DecimalSeparator& separator, std::string& out);
// The same run, with `observer` told of every warning and every write as it happens, and the port
// handed to `after` once the run has ended (its fields then hold what a window would show).
bool append_run_result(const Scenario& scenario, const numeric::DecimalSeparator& separator, std::string& out,
                       page::FieldMapPort::Observer observer, const std::function<void(const CommandPort&)>& after);

// The "fields" member: every field of the page with the text `port` holds, in the page's order.
void append_fields_member(const page::PageDefinition& page, const page::FieldMapPort& port, std::string& out);

}  // namespace vorlanex::casefile

#pragma once
// The case written: a case file's text made from the case as it is held, every calculation's
// "recorded" outcome made anew by this program. A calculation read from a file and not edited
// since keeps its line as written (its members' texts and order); an edited or new one is written
// anew: "id", "title", "note", "page", "fields", "links", "tolerances", "analyses". The case is written as
// format 2 when a calculation has links, else as format 1 (the case's line as written, its
// "format" alone changed where it must). The blank lines of a file stay
// while its calculations are all as read, in the file's order.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/linked_run.h"
#include "casefile/recorded_run.h"
#include "page/page_definition.h"

namespace vorlanex::casefile {

// An empty case written with `separator`.
CaseFile new_case(const numeric::DecimalSeparator& separator);
// The calculation as it opens on `page`, nothing typed.
Calculation new_calculation(const page::PageDefinition& page);
// A copy of `calculation` to stand beside it: an id names one calculation, so the copy has none.
Calculation copy_of(const Calculation& calculation);
// The case's description changed to `header`: its line written anew with the same format and
// separator (the line stays as written when nothing changes). True when it changed.
bool set_case_header(CaseFile& file, const CaseHeader& header);

// The case file's text, each calculation's outcome taken from `runs` (run_case's).
std::string case_file_text(const CaseFile& file, std::string_view program, std::span<const RecordedRun> runs);
std::string case_file_text(const CaseFile& file, std::string_view program);
// The case's own line as case_file_text writes it: as written, with the format its links need.
std::string case_line_text(const CaseFile& file);
// The same without running anything: `outcomes[i]` is calculation i's outcome as a run gave it
// (RecordedRun::outcome), or none where its line as written is already the line this writes (a
// calculation without a line as written is then run).
std::string case_file_text(const CaseFile& file, std::string_view program,
                           std::span<const std::optional<std::string>> outcomes);
// The line case_file_text writes for `calculation` with `outcome` recorded by `program`: a
// calculation whose line as written is this line needs no outcome of its own to be written.
std::string calculation_line(const Calculation& calculation, std::string_view program, std::string_view outcome);
// `calculation` as its line `line`, just written with `outcome` recorded by `program`, reads back:
// that line becomes its line as written and the outcome its recorded one.
void take_written_line(Calculation& calculation, std::string line, std::string_view program, std::string_view outcome);
// Each calculation's line number as case_file_text places it.
void number_lines(CaseFile& file);

}  // namespace vorlanex::casefile

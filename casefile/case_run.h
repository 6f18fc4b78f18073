#pragma once
// A case file's calculations run, recorded and verified. Every calculation runs on a page without
// a window with the case's separator, exactly as a batch line of the same "page" and "fields", its
// linked inputs holding the texts their sources show (linked_run.h); the lines in the case's order:
//
//   --record   the case as written, every "recorded" made anew (case_writer.h)
//   --case     {"line":2,"id":"brzdeni","events":[…],"fields":{…}}            (the batch's result)
//   --verify   {"line":2,"id":"brzdeni","same":true}
//              {"line":3,"id":"meze","same":false,"program":"1.6a",
//               "fields":{"R2":{"recorded":"42,702","now":"42,703"}},
//               "events":{"recorded":[…],"now":[…]}}                       ("events" when they differ)
//              {"line":4,"id":"gev","same":false,"recorded":null}           (nothing recorded)
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "casefile/case_file.h"
#include "casefile/recorded_run.h"

namespace vorlanex::casefile {

// The outcome of one calculation now: the "events" and "fields" members of its batch result.
struct Outcome {
    std::string members;  // "events":[…],"fields":{…}
    bool completed = false;
};
Outcome outcome_of(const RecordedRun& run);

// How today's outcome differs from the recorded one.
struct FieldDifference {
    std::string id;
    std::optional<std::string> recorded, now;  // nothing: the field is missing on that side
};
struct Difference {
    std::vector<FieldDifference> fields;  // in the page's order, then fields only one side has
    bool events_differ = false;
    std::string recorded_events, now_events;  // the two lists, when they differ
};
// Nothing when the outcomes are the same (the same events in order, the same text in every field).
std::optional<Difference> compare(const Recorded& recorded, const Outcome& now);

// --case: the batch's result line of every calculation, "\n" after each.
std::string case_results(const CaseFile& file);
// --verify: one verdict line for every calculation; `all_same` false when any differs or has
// nothing recorded.
std::string verify_case(const CaseFile& file, bool& all_same);

}  // namespace vorlanex::casefile

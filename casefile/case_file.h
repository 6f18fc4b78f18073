#pragma once
// The case file (.vorlanex): an expert's calculations on one accident kept together, UTF-8 JSON
// Lines, one object a line.
//
//   {"format":1,"separator":",","case":{"reference":"…","title":"…","expert":"…","created":"…","note":"…"}}
//   {"id":"brzdeni","title":"…","note":"…","page":"kinematika","fields":{"I1":"20",…},
//    "tolerances":{"I4":{"distribution":"uniform","low":"14","high":"16"}},
//    "recorded":{"program":"1.6a","events":[…],"fields":{…}}}
//
// The first line is the case; every further line one calculation ("page", "fields" and "id" as in
// a batch line). Every calculation is run with the case's separator, whatever the machine's
// regional setting. Blank lines are passed over (and counted). Reading is strict: the whole file
// is checked before anything is run, and the first fault is named with its line.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "casefile/scenario.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::casefile {

// The format this version reads and writes.
inline constexpr int kFormat = 1;
// A line longer than this is refused (as a batch line is).
inline constexpr std::size_t kMaxCaseLineBytes = std::size_t{1} << 20;

// The case's own description; every member may be missing.
struct CaseHeader {
    std::optional<std::string> reference, title, expert, created, note;
};

// A calculation's outcome as a version of the program produced it, in the batch's result form.
struct Recorded {
    std::string program;
    std::string events;  // the JSON array as written
    std::string fields;  // the JSON object as written
};

struct Calculation {
    long line = 0;                  // its line number in the file
    std::string written;            // the line as written
    std::optional<std::string> id;  // the "id" token as written
    std::optional<std::string> title, note;
    Scenario scenario;
    std::optional<std::string> tolerances;  // the "tolerances" object as written
    std::optional<Recorded> recorded;
};

struct CaseFile {
    std::string header_line;  // line 1 as written
    CaseHeader header;
    numeric::DecimalSeparator separator;
    std::vector<Calculation> calculations;
    long lines = 0;  // every line of the file, blank ones included
};

// Why a file is no case file: "line N: …" (or about the whole file).
struct CaseError {
    std::string message;
};

// The case file `bytes`, checked whole: or the first fault, naming its line.
std::variant<CaseFile, CaseError> read_case_file(std::string_view bytes);

}  // namespace vorlanex::casefile

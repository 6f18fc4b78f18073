#pragma once
// vorlanex-calc --tolerance N [--seed S] [--jobs J] PAGE FIELD=... and --sweep FIELD=FROM..TO/STEPS:
// the page's results over samples of its uncertain inputs, or along one input, as one JSON object
// or, with --report, as a printable report (tolerance/sampling.h, tolerance/sweep.h).
// vorlanex-calc --tolerance N [--seed S] [--jobs J] --case FILE: the same for every calculation of
// the case that has tolerances, one JSON line each with the calculation's "line" and "id", in the
// order of the file, every calculation with the same seed; with --report, one report of them all.
//
// Under --tolerance an operand FIELD=TEXT whose text holds ".." or "~" is the field's tolerance in
// short form (one of the patterns of tolerance/distribution_kinds.h, as --help lists them with their
// examples); any other is the field's text, as in a single run.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/output.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::cli {

struct ToleranceRequest {
    std::optional<std::string> case_file;  // --case FILE: every calculation of it that has tolerances
    std::optional<std::string> samples;    // --tolerance N
    std::optional<std::string> seed;       // --seed S
    std::optional<std::string> sweep;      // --sweep FIELD=FROM..TO/STEPS
    unsigned jobs = 1;
    bool report = false;
    std::vector<std::string> operands;          // PAGE FIELD=TEXT ... (none with --case)
    std::span<const std::string> command_line;  // every argument, for the report
};

// The seed when --seed is not given, so that the same command always gives the same numbers.
inline constexpr std::uint64_t kDefaultSeed = 1;

// Runs the request; a usage error goes to `usage_error` (which prints it and returns status 2)
// before anything is written to `out`. `progress` receives progress lines and the bar.
int run_tolerance_command(const ToleranceRequest& request, const numeric::DecimalSeparator& separator, Output& out,
                          std::ostream& progress, const std::function<int(const std::string&)>& usage_error);

// The same for every calculation of request.case_file that has tolerances, with the case's own
// separator; the whole file and every tolerance are checked before anything is written.
int run_case_tolerance_command(const ToleranceRequest& request, Output& out, std::ostream& progress,
                               const std::function<int(const std::string&)>& usage_error);

}  // namespace vorlanex::cli

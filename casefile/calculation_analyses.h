#pragma once
// A calculation's kept analyses: the settings of its tolerance run (samples and seed) and of its
// sweep (the input, FROM, TO and the number of steps), kept in its line as "analyses" so that the
// case window shows them again and the protocol runs them:
//
//   "analyses":{"tolerance":{"samples":10000,"seed":"1"},
//               "sweep":{"field":"I1","from":"10","to":"50","steps":100}}
//
// "samples" and "steps" are whole numbers written in digits; "seed" is a whole number written as a
// string (a JSON number loses digits above 2^53 in many readers); "from" and "to" are texts with
// the case's separator, as the fields' texts. Either analysis may be absent, not both. The settings
// are read strictly: the sweep is checked against the page by the command line's own check, the
// samples and the seed by the command line's ranges.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/sampling.h"
#include "tolerance/sweep.h"

namespace vorlanex::casefile {

struct ToleranceAnalysis {
    std::uint64_t samples = 10'000;
    std::uint64_t seed = 1;
    bool operator==(const ToleranceAnalysis&) const = default;
};

struct SweepAnalysis {
    std::string field, from, to;  // the texts as typed
    unsigned steps = 10;
    bool operator==(const SweepAnalysis&) const = default;
};

struct Analyses {
    std::optional<ToleranceAnalysis> tolerance;
    std::optional<SweepAnalysis> sweep;
    bool empty() const { return !tolerance && !sweep; }
    bool operator==(const Analyses&) const = default;
};

// The settings in `object` (the value of "analyses", `written` its text as the line has it),
// checked against `page` with the case's separator: or the message of the first fault.
std::variant<Analyses, std::string> read_analyses(const nlohmann::ordered_json& object, std::string_view written,
                                                  const page::PageDefinition& page,
                                                  const numeric::DecimalSeparator& separator);

// The value of "analyses" as written anew (analyses not empty).
std::string analyses_json(const Analyses& analyses);

// The sweep's settings checked against the page (a bad one gives its message); at most `most_steps`.
std::variant<tolerance::SweepRange, tolerance::SweepError> checked_sweep_analysis(
    const page::PageDefinition& page, const SweepAnalysis& sweep, const numeric::DecimalSeparator& separator,
    unsigned most_steps = tolerance::kMostSweepSteps);

}  // namespace vorlanex::casefile

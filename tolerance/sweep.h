#pragma once
// How the results move with one input: the page run for evenly spaced values of one input field,
// the other fields as typed. Each value is written into its field as show_number writes it and
// "Výpočet" is pressed on the page as it opens, exactly as if the text had been typed.
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "numeric/decimal_separator.h"
#include "page/page_definition.h"
#include "tolerance/distribution.h"
#include "tolerance/sampling.h"

namespace vorlanex::tolerance {

inline constexpr unsigned kMostSweepSteps = 100'000;

// FIELD=FROM..TO/STEPS: STEPS + 1 values from FROM to TO (either way), both ends included.
struct SweepRange {
    std::string field;
    double from = 0;
    double to = 0;
    unsigned steps = 1;
};

struct SweepRow {
    std::string input;                                         // the text the swept field was given
    std::vector<std::pair<std::string, std::string>> results;  // each result field the run wrote, its text
    std::vector<std::string> warnings;                         // in the order shown
    std::optional<std::string> fault;
};

// Parsed and checked against the page (an input field it has; STEPS from 1 to kMostSweepSteps).
std::variant<SweepRange, InputError> parse_sweep(std::string_view text, const page::PageDefinition& page,
                                                 const numeric::DecimalSeparator& separator);

// The value of step k: (FROM × (STEPS − k) + TO × k) / STEPS in extended precision, so both ends
// are exactly FROM and TO.
double sweep_value(const SweepRange& range, unsigned k);

std::vector<SweepRow> run_sweep(const page::PageDefinition& page, TypedTexts typed,
                                const numeric::DecimalSeparator& separator, const SweepRange& range);

}  // namespace vorlanex::tolerance

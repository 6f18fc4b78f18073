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

// Why a sweep's settings cannot be used: its kind, so that a window can say it in its own words, and
// the command line's message naming the field.
struct SweepError {
    enum class Kind {
        Form,         // not FIELD=FROM..TO/STEPS
        NoSuchField,  // the page has no such field
        ResultField,  // a result field cannot be swept
        Steps,        // STEPS not a whole number from 1 to the most allowed
        From,         // FROM not a number under the number rules
        To,           // TO not a number under the number rules
    };
    Kind kind = Kind::Form;
    std::string message;
};

// The parts of a sweep checked against the page, one by one: an input field it has, FROM and TO
// numbers under the number rules (either may be the larger), STEPS a whole number from 1 to
// `most_steps` (at most kMostSweepSteps). The command line's FIELD=FROM..TO/STEPS and the case
// window's boxes are checked by this one function.
std::variant<SweepRange, SweepError> check_sweep(const page::PageDefinition& page, std::string_view field,
                                                 std::string_view from, std::string_view to, std::string_view steps,
                                                 const numeric::DecimalSeparator& separator,
                                                 unsigned most_steps = kMostSweepSteps);

// FIELD=FROM..TO/STEPS split into its parts ("FROM..TO" at its first "..") and checked by check_sweep.
std::variant<SweepRange, InputError> parse_sweep(std::string_view text, const page::PageDefinition& page,
                                                 const numeric::DecimalSeparator& separator);

// The value of step k: (FROM × (STEPS − k) + TO × k) / STEPS in extended precision, so both ends
// are exactly FROM and TO.
double sweep_value(const SweepRange& range, unsigned k);

std::vector<SweepRow> run_sweep(const page::PageDefinition& page, TypedTexts typed,
                                const numeric::DecimalSeparator& separator, const SweepRange& range);

}  // namespace vorlanex::tolerance

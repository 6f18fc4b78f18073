#pragma once
// One line of `vorlanex-calc --batch`: the scenario it asks for, or why it is none, and its "id".
//
//   {"id":"a-1","page":"kinematika","fields":{"I1":"20","I2":"8"}}
//
// A line is read by a small reader made for this shape alone (an object of "id", "page" and
// "fields", strings without escapes, an "id" that is a string or a plain integer, no key twice),
// which covers the lines a program or an expert writes. Any other line, and every line the small
// reader has any doubt about, is read by the JSON library and checked by the reader of a calculation
// line that the case file shares (casefile/calculation_line.h), so every line gets the same answer
// as before: read_batch_line and read_batch_line_generically agree on every line.
#include <optional>
#include <string>
#include <string_view>

#include "casefile/scenario.h"

namespace vorlanex::cli {

// The scenario, its reading and its run are the case file library's; the command uses them as they are.
using casefile::check_scenario;
using casefile::find_page;
using casefile::Scenario;
using casefile::UsageError;

struct BatchLine {
    Scenario scenario;                // when there is no error
    std::optional<UsageError> error;  // why the line is no scenario
    std::optional<std::string> id;    // the line's "id" as it is written back (JSON text)
};

// Reads one batch line (not blank, at most 1 MiB) into `into`, reusing its storage.
void read_batch_line(std::string_view line, BatchLine& into);

// The same, by the JSON library alone.
void read_batch_line_generically(std::string_view line, BatchLine& into);

}  // namespace vorlanex::cli

#pragma once
// vorlanex-calc: one press of "Výpočet" on one page, without a window, printing what happens as
// JSON Lines. The whole command is this function, so tests run it in-process.
//
//   vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]   one run
//   vorlanex-calc [--separator C] [--jobs N] --batch      one run per JSON line on standard input
//                                                         (cli/batch.h), on N threads
//   vorlanex-calc [--separator C] --list                  the pages and their fields
//   vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...]   one run as a printable report
//                                                         (report/report.h), with the run's exit status
// Options are read as getopt_long reads them ("--separator=C", "--sep C", "--" ends the options).
//
// The exit statuses are in cli/exit_status.h.
#include <iosfwd>
#include <span>
#include <string>

#include "cli/exit_status.h"
#include "numeric/decimal_separator.h"

namespace vorlanex::cli {

// `arguments` without the program name. `regional_separator` is used unless --separator is given.
int run_calc_command(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator,
                     std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace vorlanex::cli

#pragma once
// vorlanex-calc: one press of "Výpočet" on one page, without a window, printing what happens as
// JSON Lines. The whole command is this function, so tests run it in-process.
//
//   vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]   one run
//   vorlanex-calc [--separator C] [--jobs N] --batch      one run per JSON line on standard input
//                                                         (cli/batch.h), on N threads
//   vorlanex-calc [--separator C] --list                  the pages and their fields
//   vorlanex-calc [--separator C] --report PAGE [FIELD=TEXT ...]   one run as a printable report
//                                                         (cli/report.h), with the run's exit status
// Options are read as getopt_long reads them ("--separator=C", "--sep C", "--" ends the options).
//
// Exit status: 0 the run completed (warnings allowed), or every batch line was a scenario (faults
// are results); 1 a fault stopped the single run; 2 usage error, or a batch line was one;
// 3 the output could not be written (a full disk, a closed pipe): the command stops at once;
// 4 the batch's input could not be read (a folder, a device's error): the results of the lines
// read before are written.
#include <iosfwd>
#include <span>
#include <string>

#include "numeric/decimal_separator.h"

namespace vorlanex::cli {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFault = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutputFailed = 3;
inline constexpr int kExitInputFailed = 4;

// `arguments` without the program name. `regional_separator` is used unless --separator is given.
int run_calc_command(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator,
                     std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace vorlanex::cli

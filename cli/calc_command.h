#pragma once
// vorlanex-calc: one press of "Výpočet" on one page, without a window, printing what happens as
// JSON Lines. The whole command is this function, so tests run it in-process.
//
//   vorlanex-calc [--separator C] PAGE [FIELD=TEXT ...]   one run
//   vorlanex-calc [--separator C] --batch                 one run per JSON line on standard input
//   vorlanex-calc [--separator C] --list                  the pages and their fields
//
// Exit status: 0 the run completed (warnings allowed), 1 a fault stopped it, 2 usage error.
#include <iosfwd>
#include <span>
#include <string>

#include "numeric/decimal_separator.h"

namespace vorlanex::cli {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFault = 1;
inline constexpr int kExitUsage = 2;

// `arguments` without the program name. `regional_separator` is used unless --separator is given.
int run_calc_command(std::span<const std::string> arguments, const numeric::DecimalSeparator& regional_separator,
                     std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace vorlanex::cli

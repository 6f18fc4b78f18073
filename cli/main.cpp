// vorlanex-calc: the headless companion of the Vorlanex window (see cli/calc_command.h).
#include <iostream>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "numeric/arithmetic_mode.h"

int main(int argc, char** argv) {
    vorlanex::numeric::set_arithmetic_mode();
    // The standard streams with buffers of their own rather than C's: a batch reads and writes
    // whole blocks, and can tell when reading on would wait for input.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return vorlanex::cli::run_calc_command(arguments, vorlanex::numeric::DecimalSeparator::from_regional_settings(),
                                           std::cin, std::cout, std::cerr);
}

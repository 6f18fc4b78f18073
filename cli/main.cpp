// vorlanex-calc: the headless companion of the Vorlanex window (see cli/calc_command.h).
#include <iostream>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "cli/process.h"
#include "numeric/arithmetic_mode.h"

int main(int argc, char** argv) {
    vorlanex::numeric::set_arithmetic_mode();
    vorlanex::cli::pass_standard_streams_unchanged();
    // The standard streams with buffers of their own rather than C's: a batch reads and writes
    // whole blocks, and can tell when reading on would wait for input.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments = vorlanex::cli::command_arguments(argc, argv);
    return vorlanex::cli::run_calc_command(arguments, vorlanex::numeric::DecimalSeparator::from_regional_settings(),
                                           std::cin, std::cout, std::cerr);
}

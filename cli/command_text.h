#pragma once
// The command line that re-creates a report, as a shell reads it: every argument that holds
// anything but letters, digits and ",._-=~/+:" in single quotes.
#include <span>
#include <string>

namespace vorlanex::cli {

// "vorlanex-calc ARG ...", each argument quoted where a shell needs it.
std::string command_text(std::span<const std::string> arguments);

}  // namespace vorlanex::cli

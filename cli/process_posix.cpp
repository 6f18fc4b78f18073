#include <unistd.h>

#include <algorithm>

#include "cli/process.h"

namespace vorlanex::cli {

std::vector<std::string> command_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

void pass_standard_streams_unchanged() {}

bool error_stream_is_terminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace vorlanex::cli

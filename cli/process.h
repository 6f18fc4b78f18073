#pragma once
// What the command takes from the system it runs on, one file per system (process_posix.cpp,
// process_windows.cpp): its arguments, its standard streams, its terminal.
#include <string>
#include <vector>

namespace vorlanex::cli {

// The command's arguments after the program's name, in UTF-8 (Windows gives them in UTF-16).
std::vector<std::string> command_arguments(int argc, char** argv);

// Makes the standard streams pass bytes unchanged (Windows would write "\r\n" for "\n" and read
// "\r\n" as "\n"), so that the output is the same bytes on every system.
void pass_standard_streams_unchanged();

// True when the standard error stream is a terminal (progress is then redrawn in place).
bool error_stream_is_terminal();

}  // namespace vorlanex::cli

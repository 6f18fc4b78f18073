#pragma once
// The window's program from its first line to the end of its message loop: the numeric
// environment, the common controls, the main window with its whole page tree, shown.
#include <string_view>

#include "winapp/environment.h"

namespace vorlanex::winapp {

// Sets up the arithmetic, COM and the common controls for this thread and reads the environment:
// the separator from the regional settings, the boxes' title from the executable's name.
Environment start_window_program(std::string_view executable_path);

// Runs the program until the window is closed and returns its exit status.
int run_window_program(std::string_view executable_path);

}  // namespace vorlanex::winapp

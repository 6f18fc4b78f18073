// Vorlanex for Windows: the calculator window in Windows' own controls. Sets up the numeric
// environment, builds the window with its whole page tree, and runs until the window is closed.
#include <cstdlib>

#include "winapp/window_program.h"

int main(int argc, char** argv) { return vorlanex::winapp::run_window_program(argc > 0 ? argv[0] : ""); }

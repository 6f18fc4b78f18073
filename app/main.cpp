// Vorlanex: the main window's program. Sets up the numeric environment, builds the window with
// its whole page tree, and runs until the window is closed.
#include "app/accessibility_guard.h"
#include "app/window_program.h"

int main(int argc, char** argv) {
    vorlanex::app::guard_accessibility_calls();  // before the QApplication exists
    return vorlanex::app::run_window_program(argc, argv);
}

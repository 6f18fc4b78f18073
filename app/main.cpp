// Vorlanex: the main window's program. Sets up the numeric environment, builds the window with
// its whole page tree, and runs until the window is closed.
#include "app/window_program.h"
#include "qtshared/accessibility_guard.h"

int main(int argc, char** argv) {
    vorlanex::qtshared::guard_accessibility_calls();  // before the QApplication exists
    return vorlanex::app::run_window_program(argc, argv);
}

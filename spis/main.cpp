// Vorlanex Spis: the case window's program.
#include "qtshared/accessibility_guard.h"
#include "spis/case_program.h"

int main(int argc, char** argv) {
    vorlanex::qtshared::guard_accessibility_calls();  // before the QApplication exists
    return vorlanex::spis::run_case_program(argc, argv);
}

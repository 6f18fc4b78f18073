// The case window's program, ended as soon as its first paint has been handled: the whole start-up
// from exec to the first picture on the screen, a case named on the command line opened on the way,
// for an instruction count under
//   valgrind --tool=callgrind build/bench/bench/spis_first_paint [CASE.vorlanex]
// (as bench/first_paint.cpp counts the calculator's, and the floor's `--quit-after=painted`). It ends
// with std::_Exit, so neither the teardown is counted nor the rest of the diagram's drawing, which
// goes on on a thread of its own (every instruction of that thread until then is counted).
#include <QWindow>
#include <cstdlib>

#include "bench/paint_watch.h"
#include "qtshared/accessibility_guard.h"
#include "spis/case_program.h"
#include "spis/case_window.h"

int main(int argc, char** argv) {
    vorlanex::qtshared::guard_accessibility_calls();  // as the program does
    return vorlanex::spis::run_case_program(argc, argv, [](vorlanex::spis::CaseWindow& window) {
        new vorlanex::bench::AfterFirstPaint(window.windowHandle(), [] { std::_Exit(0); });
    });
}

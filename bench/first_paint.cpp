// The window's program, quitting as soon as its first paint has been handled: the whole start-up
// from exec to the first picture on the screen, for an instruction count under
//   valgrind --tool=callgrind build/bench/bench/first_paint
// (the floor program's `--quit-after=painted` measures the same span).
#include <QApplication>

#include "app/kin.h"
#include "app/window_program.h"
#include "bench/paint_watch.h"
#include "qtshared/accessibility_guard.h"

int main(int argc, char** argv) {
    vorlanex::qtshared::guard_accessibility_calls();
    return vorlanex::app::run_window_program(argc, argv, [](vorlanex::app::TForm1& window) {
        new vorlanex::bench::AfterFirstPaint(window.windowHandle(), &QApplication::quit);
    });
}

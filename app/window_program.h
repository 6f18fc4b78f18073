#pragma once
// The window's program from its first line to the end of its event loop: the numeric environment,
// the application and its look, the main window with its whole page tree, shown.
#include <functional>

namespace vorlanex::app {

class TForm1;

// Runs the program until the window is closed (or the application quits) and returns its exit
// status. `after_show` is called once the window has been shown, before the event loop starts; the
// start-up benchmark uses it to quit after the first paint.
int run_window_program(int argc, char** argv, const std::function<void(TForm1&)>& after_show = {});

}  // namespace vorlanex::app

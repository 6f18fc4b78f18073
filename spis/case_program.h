#pragma once
// Vorlanex Spis as a program: the numeric environment, the application with Qt's own texts in
// Czech, the window, and the case named on the command line opened in it.
#include <functional>

namespace vorlanex::spis {

class CaseWindow;

// `after_show` is called once the window has been shown, before the case named is opened and the
// event loop starts; the start-up benchmark uses it to quit after the first paint.
int run_case_program(int argc, char** argv, const std::function<void(CaseWindow&)>& after_show = {});

}  // namespace vorlanex::spis

#pragma once
// Vorlanex Spis as a program: the numeric environment, the application with Qt's own texts in
// Czech, the window, and the case named on the command line opened in it.
namespace vorlanex::spis {

int run_case_program(int argc, char** argv);

}  // namespace vorlanex::spis

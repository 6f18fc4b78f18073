// Vorlanex Spis: the case window's program.
#include "spis/case_program.h"

int main(int argc, char** argv) { return vorlanex::spis::run_case_program(argc, argv); }

// vivarix-sweep: many vivarix-lab runs and their gathered results.  See
// sweep_plan.h for the command line and sweep_main.h for the sweep's folder.
#include <iostream>

#include "sweep_main.h"

int main(int argc, char** argv) { return vivarix::sweep::sweepMain(argc, argv, std::cout, std::cerr); }

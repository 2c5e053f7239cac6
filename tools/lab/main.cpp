// vivarix-lab: the headless runner.  See lab_options.h for the command line.
#include <iostream>

#include "lab_run.h"

int main(int argc, char** argv) {
    return vivarix::lab::labMain(argc, argv, std::cout, std::cerr);
}

// What every pass of the program leaves true, for the long runs and the sweeps.
#pragma once

#include <string>

#include "app/app_state.h"

namespace vivarix::test {

// The lists are well linked, kindCount is their census, every creature is of a
// kind and stands on a plate cell, every mark is a kind's, and the followed
// creature is a living one.  Returns what is broken, "" when nothing is.
std::string stateProblems(const AppState& state);

}  // namespace vivarix::test

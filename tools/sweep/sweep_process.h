// Starting the programs a sweep uses (GNU parallel, gnuplot) and waiting for them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vivarix::sweep {

// The path of `program` when it is an executable file on the PATH (or `program`
// itself when it holds a slash and is executable).
std::optional<std::string> findProgram(const std::string& program);

// Runs argv[0] (looked up on the PATH) with standard input from `input` and
// standard output to `output`; standard error is the caller's.  Waits for it; an
// interrupt (SIGINT, SIGTERM) that reaches the caller meanwhile, as Ctrl-C reaches
// the whole foreground group, is left to the program.  Returns its wait status,
// or -1 when it could not be started.
int runProgram(const std::vector<std::string>& argv, const std::string& input, const std::string& output);

// "exit status N", "signal N" or "could not be started".
std::string describeStatus(int status);

// The program's own executable, from /proc/self/exe; empty when unknown.
std::string ownExecutable();

}  // namespace vivarix::sweep

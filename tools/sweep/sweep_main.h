// vivarix-sweep: many vivarix-lab runs on every core, or on several machines, and
// their gathered results.  See sweep_plan.h for the command line.
//
// A sweep lives in its folder DIR:
//   sweep            the runs' command lines, which mark the folder as this sweep's;
//   jobs             the commands handed to GNU parallel, one a line, run N on line N;
//   joblog           parallel's job log: the runs that finished, and how;
//   runs/N, N.err    run N's standard output and error;
//   runs.csv, summary.csv, population.gp, population.png: the gathered results.
// GNU parallel runs the jobs (--jobs, --bar on a terminal, --sshloginfile for
// --hosts) and resumes from its job log, so the same command again after an
// interruption runs only what did not finish; a run that failed is run again.
// While a sweep runs it holds a lock on DIR/sweep, so that a second vivarix-sweep
// on the same folder is refused instead of running the same runs again.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "sweep_plan.h"

namespace vivarix::sweep {

// How each run ended, by run (0-based), from parallel's job log at `path`: its last
// line for the run counts.
struct RunEnd {
    bool logged = false;  // the run finished, well or not
    int exitValue = 0;
    int signal = 0;
    std::string host;  // ":" for this machine
};
std::vector<RunEnd> readJobLog(const std::string& path, std::size_t runs);

// The shell command of run `run` for parallel's job list, `lab` being the
// vivarix-lab to run; arguments are quoted for the shell where they need it.
std::string jobLine(const Plan& plan, const std::string& lab, std::size_t run);

// The whole program: returns 0 when every run finished and was gathered, 1 when a
// run failed, the sweep was cut short or a result could not be written (what
// finished is gathered), 2 when the sweep was refused before any run started.
int sweepMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vivarix::sweep

// vivarix-sweep: many vivarix-lab runs on every core, on several machines or on a
// Slurm cluster, and their gathered results.  See sweep_plan.h for the command
// line.
//
// A sweep lives in its folder DIR:
//   sweep            the folder's runs by number (see sweep_record.h);
//   command          the arguments of the latest sweep on it, for --gather;
//   jobs             the runs' shell commands, run N on line N;
//   joblog           GNU parallel's job log: the runs that finished, and how;
//   slurm/           the Slurm jobs' run lists, task script and output;
//   runs/N, N.err    run N's standard output and error (N.end: its end in Slurm,
//                    N.creatures.csv: its creatures with --creatures-every);
//   sweep.json       who made the folder, how and when (sweep_provenance.h);
//   runs.csv, summary.csv, creatures.csv.gz, *.gp, *.png: the gathered results.
// GNU parallel runs the jobs in DIR (--jobs, --bar on a terminal, --sshloginfile
// for --hosts) and resumes from its job log, so the same command again after an
// interruption runs only what did not finish; a run that failed is run again.
// With --slurm, the runs without a result go to a job array instead.  While a
// sweep runs it holds a lock on DIR/sweep, so that a second vivarix-sweep on the
// same folder is refused instead of running the same runs again.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "sweep_plan.h"

namespace vivarix::sweep {

// How a run ended.
struct RunEnd {
    bool logged = false;  // the run finished, well or not
    int exitValue = 0;
    int signal = 0;
    std::string host;  // ":" for this machine
};

// How each run ended, by folder number - 1, from parallel's job log at `path`:
// its last line for the run counts.
std::vector<RunEnd> readJobLog(const std::string& path, std::size_t runs);

// The shell command of run `run` of the plan, number `number` in its folder, for
// the folder's jobs file, `lab` being the vivarix-lab to run; arguments are quoted
// for the shell where they need it.
std::string jobLine(const Plan& plan, const std::string& lab, std::size_t run, std::size_t number);

// The whole program: returns 0 when every run finished and was gathered (or a
// Slurm job array was submitted with --no-wait), 1 when a run failed, the sweep
// was cut short or a result could not be written (what finished is gathered), 2
// when the sweep was refused before any run started, 128 + the signal when SIGINT
// or SIGTERM stopped it (what finished is gathered).
int sweepMain(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace vivarix::sweep

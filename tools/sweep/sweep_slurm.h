// Running a sweep's runs as a Slurm job array.
//
// The runs to do are listed by their folder numbers in DIR/slurm/N.runs (N the
// submission); task T of the array runs lines (T-1)*R+1 .. T*R of it one after
// the other, R being the runs per task, each by its line of DIR/jobs, with its
// output in runs/M and runs/M.err as GNU parallel leaves them, and its end in
// runs/M.end: "EXIT-STATUS HOST".  sbatch runs in DIR, so the job runs there too:
// the folder must be seen under the same path on the cluster's nodes.
// DIR/slurm/jobs lists the folder's job ids, so that a later sweep can tell
// whether runs are still queued; the tasks' own output goes to
// DIR/slurm/JOB_TASK.out.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "sweep_main.h"
#include "sweep_plan.h"

namespace vivarix::sweep {

// The shell script each task runs (DIR/slurm/task.sh).
std::string slurmTaskScript();

// How each run of the folder ended in a Slurm task, by number - 1, from runs/N.end.
std::vector<RunEnd> readSlurmEnds(const std::string& out, std::size_t runs);

// The folder's jobs that squeue still lists, as "12, 13"; empty when none is or
// the folder never had one.
std::string queuedJobs(const std::string& out);

// Asks `lab --version` of a node in a one-task job with the sweep's sbatch
// options; returns the line it printed, or why it could not, after "!".
std::string slurmLabVersion(const Plan& plan, const std::string& lab);

struct Submission {
    std::string job;          // its id
    std::size_t perTask = 0;  // runs per task
    std::string error;        // why it was not submitted; empty when it was
};

// Submits the runs `numbers` (folder numbers) as a job array with
// runsPerTask(plan) runs a task, or more when the cluster's MaxArraySize does not
// allow that many tasks.
Submission submitRuns(const Plan& plan, const std::vector<std::size_t>& numbers);

// Waits until the jobs `ids` ("12, 13") have left the queue, telling progress on
// `err`; a SIGINT or SIGTERM cancels them (scancel) and waits for them to go.
// Returns "" or why squeue could not tell.
std::string waitForJobs(const Plan& plan, const std::string& ids, std::size_t runs, std::ostream& err);

}  // namespace vivarix::sweep

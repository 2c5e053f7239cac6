// What a sweep's folder tells about how it was made (DIR/sweep.json), and the
// check that every machine runs the same version of vivarix-lab.
//
// sweep.json holds {"sweeps": [...]}, one object per vivarix-sweep on the folder,
// the latest last: the version, the whole command, the start and end times (UTC;
// end is null while it runs or when it was killed), where the runs ran (this
// machine, the ssh hosts, or the Slurm jobs and their sbatch options), the runs of
// the folder that are done and that failed, and the parameters: the seeds, the
// swept values and the fixed vivarix-lab options.
#pragma once

#include <string>
#include <vector>

#include "sweep_plan.h"

namespace vivarix::sweep {

struct Provenance {
    std::vector<std::string> command;  // argv, the program's name first
    std::string start;                 // UTC, ISO 8601
    std::string end;                   // empty: not yet
    std::vector<std::string> hosts;    // the ssh login file's lines
    std::vector<std::string> slurmJobs;
    std::size_t runs = 0;  // of the folder
    std::size_t done = 0;
    std::size_t failed = 0;
    std::size_t added = 0;  // runs this sweep added to the folder
};

// The time now, as sweep.json writes it: "2026-12-08T09:30:00Z".
std::string utcNow();

// A JSON string of `text`, quotes included.
std::string jsonString(const std::string& text);

// Writes DIR/sweep.json: the sweeps it held before `earlier` (as readEarlier
// returned them) and this one.  Returns "" or why it could not.
std::string writeProvenance(const Plan& plan, const Provenance& p, const std::vector<std::string>& earlier);

// The objects of the sweeps DIR/sweep.json held, as text, in order.
std::vector<std::string> readEarlier(const std::string& out);

// The lines of an ssh login file that name a machine (not blank, not comments).
std::vector<std::string> hostLines(const std::string& path);

// Asks `lab --version` here, of every machine of --hosts (through GNU parallel
// `parallel`), and returns "" when each answers with this program's version, else
// one line naming what differs.
std::string checkLabVersions(const Plan& plan, const std::string& lab, const std::string& parallel);

// The line `lab --version` must print.
std::string expectedLabVersion();

}  // namespace vivarix::sweep

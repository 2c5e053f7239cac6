// The command line of vivarix-sweep and the runs it stands for.
//
//   vivarix-sweep --out DIR --seeds LIST [--jobs N] [--hosts FILE] [--lab PROGRAM]
//                 [--slurm [--slurm-options TEXT] [--runs-per-task N] [--no-wait]]
//                 [--creatures-every K] [--log] [vivarix-lab options]...
//   vivarix-sweep --gather DIR [--log]
//
// Every vivarix-lab option but --seed, --replay and the dumps may be given; one
// whose value is a comma-separated list ("--auto 5,10,20") is swept.  The runs are
// every combination of the swept values, the first swept option changing slowest,
// times every seed of --seeds (which changes fastest); each run is vivarix-lab
// with --seed S, the options in command-line order with the combination's values,
// and --stats.  Runs are numbered from 1 in that order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lab_options.h"

namespace vivarix::sweep {

// One swept option: its values in command-line order.
struct Dimension {
    std::string option;               // "--auto"
    std::string column;               // "auto"; "auto_2" for the second --auto list
    std::vector<std::string> values;  // at least two, all different
};

// One option of the runs' command line; its value comes from `dimension` when that
// is set, else it is `value` (nothing for a flag).
struct LabArgument {
    std::string option;
    std::optional<std::string> value;
    std::optional<std::size_t> dimension;
};

struct Plan {
    std::string out;                    // the sweep's folder
    std::vector<std::uint64_t> seeds;   // in the order given, all different
    std::string seedsText;              // --seeds as given
    std::optional<std::uint32_t> jobs;  // runs at once per machine; none: one per core
    std::optional<std::string> hosts;   // GNU parallel's ssh login file
    std::optional<std::string> lab;     // the vivarix-lab to run
    bool slurm = false;                 // a Slurm job array instead of GNU parallel
    std::vector<std::string> slurmOptions;    // --slurm-options, split at blanks, for sbatch
    std::optional<std::uint32_t> runsPerTask;  // none: chosen from the ticks
    bool noWait = false;                       // return once the job array is submitted
    std::optional<std::uint64_t> creaturesEvery;
    bool log = false;                   // logarithmic count axes
    std::vector<LabArgument> arguments;
    std::vector<Dimension> dimensions;
    std::vector<std::string> command;   // the arguments as given, for the record
    std::optional<std::string> gather;  // --gather DIR: only gather that folder
    bool help = false;
    bool version = false;
};

struct PlanResult {
    Plan plan;
    std::string error;  // empty on success; else one line naming the option
};

// Parses argv[1..argc-1] and checks every combination with vivarix-lab's own
// parser, so that a sweep whose runs would be refused is refused whole.  Never
// throws.
PlanResult parsePlan(const std::vector<std::string>& args);

// The combinations of the swept values (1 without a swept option), and the runs.
std::size_t combinations(const Plan& plan);
std::size_t runCount(const Plan& plan);

// The value index of every dimension for combination `c` (0-based).
std::vector<std::size_t> combinationValues(const Plan& plan, std::size_t c);

// The arguments of run `run` (0-based), without the program's name, and without
// --creatures-every, whose file is the folder's (see sweep_record.h).
std::vector<std::string> runArguments(const Plan& plan, std::size_t run);

// What identifies run `run` in a folder: its arguments with --creatures-every K,
// the options ordered by name (options given more than once keep their order),
// joined by blanks.  Two runs with the same key print the same output.
std::string runKey(const Plan& plan, std::size_t run);

// The key of a run from its arguments as runArguments gives them (or a folder
// written by an earlier version recorded them).
std::string canonicalKey(const std::vector<std::string>& arguments);

// The swept values and the seed of a run, as messages name it:
// "--auto 5 --seed 2".
std::string runParameters(const Plan& plan, std::size_t run);

// Runs per Slurm array task: --runs-per-task, else enough runs that a task runs
// for some seconds at least, judged from the ticks.
std::uint32_t runsPerTask(const Plan& plan);

// The options of run `run`, as vivarix-lab parses them.
lab::Options runOptions(const Plan& plan, std::size_t run);

// The usage text printed by --help.
const char* sweepUsage();

}  // namespace vivarix::sweep

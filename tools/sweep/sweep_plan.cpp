#include "sweep_plan.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>

namespace vivarix::sweep {

namespace {

// A sweep of more runs than this is taken for a typing error.
constexpr std::size_t maxRuns = 1000000;

// "N", "A-B" or a comma-separated list of them; the error names what is wrong.
std::string parseSeeds(std::string_view text, std::vector<std::uint64_t>& seeds) {
    const std::string expected = "expected seeds as N, A-B or a comma-separated list of them, e.g. 1-32";
    std::set<std::uint64_t> seen;
    for (const std::string_view item : lab::splitAt(text, ',')) {
        const std::size_t dash = item.find('-');
        const auto first = lab::parseUnsigned(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : lab::parseUnsigned(item.substr(dash + 1));
        if (!first || !last) return item.empty() ? "an empty value in the list " + std::string(text) : expected;
        if (*first > *last)
            return std::string(item) + " runs backwards; write " + std::to_string(*last) + "-" + std::to_string(*first);
        if (*last - *first >= maxRuns - seeds.size())
            return "more than " + std::to_string(maxRuns) + " seeds";
        for (std::uint64_t seed = *first;; ++seed) {
            if (!seen.insert(seed).second) return "seed " + std::to_string(seed) + " is given twice";
            seeds.push_back(seed);
            if (seed == *last) break;
        }
    }
    return {};
}

}  // namespace

const char* sweepUsage() {
    return "usage: vivarix-sweep --out DIR --seeds LIST [--jobs N] [--hosts FILE]\n"
           "                     [--lab PROGRAM] [--slurm [--slurm-options TEXT]\n"
           "                     [--runs-per-task N] [--no-wait]] [--creatures-every K]\n"
           "                     [--log] [vivarix-lab options]...\n"
           "       vivarix-sweep --gather DIR [--log]\n"
           "       vivarix-sweep --help | --version\n"
           "Runs vivarix-lab for every combination of the swept options and every seed,\n"
           "with GNU parallel or as a Slurm job array, and gathers the runs.  A lab option\n"
           "whose value is a comma-separated list (--auto 5,10,20) is swept; --every is\n"
           "needed.\n"
           "\n"
           "  --out DIR        the sweep's folder: runs.csv, summary.csv, the pictures,\n"
           "                   sweep.json and the runs' output; the same command again\n"
           "                   resumes a sweep that was cut short, and with more seeds or\n"
           "                   more values it runs only the new runs\n"
           "  --seeds LIST     seeds as N, A-B or a comma-separated list of them\n"
           "  --jobs N         runs at once on each machine (default: one per core)\n"
           "  --hosts FILE     GNU parallel's ssh login file: run on those machines, each\n"
           "                   with vivarix-lab on its PATH\n"
           "  --lab PROGRAM    the vivarix-lab to run (default: the one beside\n"
           "                   vivarix-sweep, else vivarix-lab on the PATH)\n"
           "  --slurm          submit the runs as a Slurm job array (sbatch), wait for it\n"
           "                   and gather\n"
           "  --slurm-options TEXT  options for sbatch, split at blanks\n"
           "                   (\"--partition=short --time=2:00:00\")\n"
           "  --runs-per-task N  runs of one array task, one after the other (default:\n"
           "                   50,000 ticks' worth of runs)\n"
           "  --no-wait        return once the job array is submitted\n"
           "  --gather DIR     gather the runs of DIR that have finished\n"
           "  --creatures-every K  every creature after every K-th pass, gathered into\n"
           "                   creatures.csv.gz\n"
           "  --log            logarithmic count axes in the pictures\n"
           "  -h, --help       this text\n"
           "  --version        the version\n"
           "\n"
           "Exit status: 0 when every run finished, 1 when a run failed or the sweep\n"
           "was cut short (what finished is gathered), 2 when the sweep is refused\n"
           "before any run starts, 130 or 143 when SIGINT or SIGTERM stopped it.\n";
}

std::size_t combinations(const Plan& plan) {
    std::size_t count = 1;
    for (const Dimension& d : plan.dimensions) count *= d.values.size();
    return count;
}

std::size_t runCount(const Plan& plan) { return combinations(plan) * plan.seeds.size(); }

std::vector<std::size_t> combinationValues(const Plan& plan, std::size_t c) {
    std::vector<std::size_t> values(plan.dimensions.size());
    for (std::size_t d = plan.dimensions.size(); d-- > 0;) {
        values[d] = c % plan.dimensions[d].values.size();
        c /= plan.dimensions[d].values.size();
    }
    return values;
}

std::vector<std::string> runArguments(const Plan& plan, std::size_t run) {
    const std::vector<std::size_t> values = combinationValues(plan, run / plan.seeds.size());
    std::vector<std::string> args = {"--seed", std::to_string(plan.seeds[run % plan.seeds.size()])};
    for (const LabArgument& a : plan.arguments) {
        args.push_back(a.option);
        if (a.dimension)
            args.push_back(plan.dimensions[*a.dimension].values[values[*a.dimension]]);
        else if (a.value)
            args.push_back(*a.value);
    }
    args.push_back("--stats");
    return args;
}

lab::Options runOptions(const Plan& plan, std::size_t run) {
    return lab::parseOptions(runArguments(plan, run)).options;
}

std::string canonicalKey(const std::vector<std::string>& arguments) {
    std::vector<std::pair<std::string, std::string>> options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const bool valued = lab::takesValue(option) || option == "--creatures-every";
        options.emplace_back(option, valued && i + 1 < arguments.size() ? arguments[++i] : "");
    }
    std::stable_sort(options.begin(), options.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string key;
    for (const auto& [option, value] : options) key += (key.empty() ? "" : " ") + option + (value.empty() ? "" : " " + value);
    return key;
}

std::string runKey(const Plan& plan, std::size_t run) {
    std::vector<std::string> args = runArguments(plan, run);
    if (plan.creaturesEvery) args.insert(args.end(), {"--creatures-every", std::to_string(*plan.creaturesEvery)});
    return canonicalKey(args);
}

std::string runParameters(const Plan& plan, std::size_t run) {
    std::string text;
    const std::vector<std::size_t> values = combinationValues(plan, run / plan.seeds.size());
    for (std::size_t d = 0; d < plan.dimensions.size(); ++d)
        text += plan.dimensions[d].option + " " + plan.dimensions[d].values[values[d]] + " ";
    return text + "--seed " + std::to_string(plan.seeds[run % plan.seeds.size()]);
}

std::uint32_t runsPerTask(const Plan& plan) {
    // About a second of an empty plate, many seconds of a crowded one.
    constexpr std::uint64_t taskTicks = 50000;
    if (plan.runsPerTask) return *plan.runsPerTask;
    const std::uint64_t ticks = std::max<std::uint64_t>(runOptions(plan, 0).ticks, 1);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>((taskTicks + ticks - 1) / ticks, taskTicks));
}

namespace {

// The sweep's own options that take a value.
constexpr const char* ownValueOptions[] = {"--out",           "--seeds",         "--jobs",   "--hosts",
                                           "--lab",           "--slurm-options", "--gather", "--runs-per-task",
                                           "--creatures-every"};
bool oneOf(std::string_view option, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return option == n; });
}

template <std::size_t N>
bool oneOf(std::string_view option, const char* const (&names)[N]) {
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return option == n; });
}

// A count from 1 to `high`, or nothing.
std::optional<std::uint32_t> count(std::string_view text, std::uint32_t high) {
    const auto value = lab::parseUnsigned(text);
    if (!value || *value == 0 || *value > high) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

// Reads the sweep's own options and the lab options into `plan`; returns why the
// command line is refused ("OPTION: reason"), or "".
std::string readArguments(const std::vector<std::string>& args, Plan& plan) {
    auto refused = [](std::string_view option, const std::string& why) { return std::string(option) + ": " + why; };
    plan.command = args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            plan.help = true;
            continue;
        }
        if (option == "--version") {
            plan.version = true;
            continue;
        }
        if (option == "--stats") continue;  // every run has it
        if (option == "--slurm" || option == "--no-wait" || option == "--log") {
            (option == "--slurm" ? plan.slurm : option == "--no-wait" ? plan.noWait : plan.log) = true;
            continue;
        }
        const bool own = oneOf(option, ownValueOptions);
        if (!own && !lab::takesValue(option))
            return refused(option, "unknown option (of vivarix-sweep or vivarix-lab)");
        if (option == "--seed") return refused(option, "a sweep takes its seeds from --seeds");
        if (option == "--replay") return refused(option, "not in a sweep: a session journal is one run");
        if (option == "--dump-grid" || option == "--dump-creatures")
            return refused(option, "not in a sweep: every run would write the same file");
        if (i + 1 >= args.size()) return refused(option, "missing value");
        const std::string& value = args[++i];
        // The runs' command lines are lines of a file.
        if (value.find('\n') != std::string::npos) return refused(option, "a newline in the value is not supported");

        if (option == "--out" || option == "--gather") {
            if (value.empty()) return refused(option, "expected a folder");
            (option == "--out" ? plan.out : plan.gather.emplace()) = value;
        } else if (option == "--seeds") {
            plan.seeds.clear();
            plan.seedsText = value;
            if (std::string why = parseSeeds(value, plan.seeds); !why.empty()) return refused(option, why);
        } else if (option == "--jobs") {
            plan.jobs = count(value, 10000);
            if (!plan.jobs) return refused(option, "expected 1 to 10000 runs at once");
        } else if (option == "--runs-per-task") {
            plan.runsPerTask = count(value, 1000000);
            if (!plan.runsPerTask) return refused(option, "expected 1 to 1000000 runs");
        } else if (option == "--creatures-every") {
            const auto every = lab::parseUnsigned(value);
            if (!every || *every == 0) return refused(option, "expected a period of 1 or more passes");
            plan.creaturesEvery = *every;
        } else if (option == "--slurm-options") {
            plan.slurmOptions.clear();
            for (const std::string_view word : lab::splitAt(value, ' '))
                if (!word.empty()) plan.slurmOptions.emplace_back(word);
        } else if (option == "--hosts" || option == "--lab") {
            if (value.empty()) return refused(option, "expected a file name");
            (option == "--hosts" ? plan.hosts : plan.lab) = value;
        } else if (value.find(',') == std::string::npos) {
            plan.arguments.push_back({option, value, std::nullopt});
        } else {
            Dimension d{option, option.substr(2), {}};
            const auto before = std::count_if(plan.dimensions.begin(), plan.dimensions.end(),
                                              [&](const Dimension& other) { return other.option == option; });
            if (before > 0) d.column += "_" + std::to_string(before + 1);
            for (const std::string_view piece : lab::splitAt(value, ',')) {
                if (piece.empty()) return refused(option, "an empty value in the list " + value);
                if (std::find(d.values.begin(), d.values.end(), piece) != d.values.end())
                    return refused(option, std::string(piece) + " is given twice in the list " + value);
                d.values.emplace_back(piece);
            }
            plan.arguments.push_back({option, std::nullopt, plan.dimensions.size()});
            plan.dimensions.push_back(std::move(d));
        }
    }
    return {};
}

// The first of `options` that was given, for a message; "" when none was.
std::string firstGiven(const Plan& plan, std::initializer_list<const char*> options) {
    for (const std::string& word : plan.command)
        if (oneOf(word, options)) return word;
    return {};
}

}  // namespace

PlanResult parsePlan(const std::vector<std::string>& args) {
    PlanResult result;
    Plan& plan = result.plan;
    auto refuse = [&](std::string why) {
        result.error = std::move(why);
        return result;
    };
    result.error = readArguments(args, plan);
    if (!result.error.empty() || plan.help || plan.version) return result;
    if (plan.gather) {
        for (const std::string& word : plan.command)
            if (word.rfind("-", 0) == 0 && word != "--gather" && word != "--log")
                return refuse("--gather: only --log may go with it, not " + word);
        return result;
    }
    if (!plan.slurm)
        if (const std::string option = firstGiven(plan, {"--slurm-options", "--runs-per-task", "--no-wait"});
            !option.empty())
            return refuse(option + ": only with --slurm");
    if (plan.slurm)
        if (const std::string option = firstGiven(plan, {"--hosts", "--jobs"}); !option.empty())
            return refuse(option + ": not with --slurm, which places the runs itself");
    if (plan.hosts && plan.creaturesEvery)
        return refuse("--creatures-every: not with --hosts: the creatures' files would stay on the hosts");
    if (plan.out.empty()) return refuse("--out: needed: the folder for the sweep's results");
    if (plan.seeds.empty()) return refuse("--seeds: needed, e.g. --seeds 1-32");
    std::size_t count = plan.seeds.size();
    for (const Dimension& d : plan.dimensions) {
        if (count > maxRuns / d.values.size())
            return refuse(d.option + ": more than " + std::to_string(maxRuns) + " runs");
        count *= d.values.size();
    }
    // Each combination through vivarix-lab's own parser; the seed changes nothing
    // it checks.
    for (std::size_t c = 0; c < combinations(plan); ++c) {
        const lab::ParseResult parsed = lab::parseOptions(runArguments(plan, c * plan.seeds.size()));
        std::string where;
        const std::vector<std::size_t> values = combinationValues(plan, c);
        for (std::size_t d = 0; d < plan.dimensions.size(); ++d)
            where += " " + plan.dimensions[d].option + " " + plan.dimensions[d].values[values[d]];
        if (!parsed.error.empty())
            return refuse(parsed.error + (where.empty() ? "" : " (in the runs with" + where + ")"));
        if (!parsed.options.every) return refuse("--every: needed: without it the runs print nothing to gather");
    }
    return result;
}

}  // namespace vivarix::sweep

#include "sweep_plan.h"

#include <algorithm>
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
        if (*last - *first >= maxRuns)
            return std::string(item) + " holds more than " + std::to_string(maxRuns) + " seeds";
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
           "                     [--lab PROGRAM] [vivarix-lab options]...\n"
           "Runs vivarix-lab for every combination of the swept options and every seed,\n"
           "with GNU parallel, and gathers the runs.  A lab option whose value is a\n"
           "comma-separated list (--auto 5,10,20) is swept; --every is needed.\n"
           "\n"
           "  --out DIR        the sweep's folder: runs.csv, summary.csv, population.png,\n"
           "                   the runs' output and parallel's job log; the same command\n"
           "                   again resumes a sweep that was cut short\n"
           "  --seeds LIST     seeds as N, A-B or a comma-separated list of them\n"
           "  --jobs N         runs at once on each machine (default: one per core)\n"
           "  --hosts FILE     GNU parallel's ssh login file: run on those machines, each\n"
           "                   with vivarix-lab on its PATH\n"
           "  --lab PROGRAM    the vivarix-lab to run (default: the one beside\n"
           "                   vivarix-sweep, else vivarix-lab on the PATH)\n"
           "  -h, --help       this text\n"
           "\n"
           "Exit status: 0 when every run finished, 1 when a run failed or the sweep\n"
           "was cut short (what finished is gathered), 2 when the sweep is refused\n"
           "before any run starts.\n";
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

namespace {

// Reads the sweep's own options and the lab options into `plan`; returns why the
// command line is refused ("OPTION: reason"), or "".
std::string readArguments(const std::vector<std::string>& args, Plan& plan) {
    auto refused = [](std::string_view option, const std::string& why) { return std::string(option) + ": " + why; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            plan.help = true;
            continue;
        }
        if (option == "--stats") continue;  // every run has it
        const bool own =
            option == "--out" || option == "--seeds" || option == "--jobs" || option == "--hosts" || option == "--lab";
        if (!own && !lab::takesValue(option))
            return refused(option, "unknown option (of vivarix-sweep or vivarix-lab)");
        if (option == "--seed") return refused(option, "a sweep takes its seeds from --seeds");
        if (option == "--replay")
            return refused(option, "not in a sweep: a replay takes its seed and inputs from its journal");
        if (option == "--dump-grid" || option == "--dump-creatures")
            return refused(option, "not in a sweep: every run would write the same file");
        if (i + 1 >= args.size()) return refused(option, "missing value");
        const std::string& value = args[++i];

        if (option == "--out") {
            if (value.empty()) return refused(option, "expected a folder");
            plan.out = value;
        } else if (option == "--seeds") {
            plan.seeds.clear();
            if (std::string why = parseSeeds(value, plan.seeds); !why.empty()) return refused(option, why);
        } else if (option == "--jobs") {
            const auto jobs = lab::parseUnsigned(value);
            if (!jobs || *jobs == 0 || *jobs > 10000) return refused(option, "expected 1 to 10000 runs at once");
            plan.jobs = static_cast<std::uint32_t>(*jobs);
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

}  // namespace

PlanResult parsePlan(const std::vector<std::string>& args) {
    PlanResult result;
    Plan& plan = result.plan;
    auto refuse = [&](std::string why) {
        result.error = std::move(why);
        return result;
    };
    result.error = readArguments(args, plan);
    if (!result.error.empty() || plan.help) return result;
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

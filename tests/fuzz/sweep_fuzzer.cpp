// libFuzzer target: vivarix-sweep's command line (parsePlan) and the runs it stands
// for.  Nothing is started and nothing is written: parsePlan and the run functions
// only compute.
//
// The input is split into arguments as for the lab fuzzer.  Broken contracts of
// sweep_plan.h abort, which libFuzzer reports as a crash:
// - a refused command line has a one-line error that starts with the option it
//   names followed by ": " (one of the arguments, or --out, --seeds or --every when
//   they are missing);
// - an accepted sweep has a folder, distinct seeds, swept options of two or more
//   distinct non-empty values with distinct columns, arguments whose dimensions
//   exist, at most a million runs, and runs that vivarix-lab accepts with --every:
//   the first, the last and one in the middle are checked, each with its seed and
//   its combination's values.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_arguments.h"
#include "sweep_plan.h"

namespace {

using namespace vivarix::sweep;

[[noreturn]] void broken(const std::string& what) {
    std::fprintf(stderr, "sweep fuzzer: %s\n", what.c_str());
    std::abort();
}

void check(bool holds, const char* what) {
    if (!holds) broken(what);
}

void checkRun(const Plan& plan, std::size_t run) {
    const std::vector<std::string> args = runArguments(plan, run);
    const vivarix::lab::ParseResult parsed = vivarix::lab::parseOptions(args);
    if (!parsed.error.empty()) broken("vivarix-lab refuses run " + std::to_string(run) + ": " + parsed.error);
    check(parsed.options.every.has_value(), "a run without --every");
    check(parsed.options.stats, "a run without --stats");
    check(parsed.options.seed == plan.seeds[run % plan.seeds.size()], "a run with another seed");
    // Each swept option's value of the run's combination stands right after it.
    const std::vector<std::size_t> values = combinationValues(plan, run / plan.seeds.size());
    std::size_t at = 2;  // after "--seed S"
    for (const LabArgument& a : plan.arguments) {
        check(at < args.size() && args[at] == a.option, "the run's options are not the plan's, in order");
        ++at;
        if (a.dimension) {
            check(args[at] == plan.dimensions[*a.dimension].values[values[*a.dimension]],
                  "a swept option with another value than its combination's");
            ++at;
        } else if (a.value) {
            check(args[at] == *a.value, "a fixed option with another value");
            ++at;
        }
    }
}

void checkAccepted(const Plan& plan) {
    check(!plan.out.empty(), "a sweep without a folder");
    check(!plan.seeds.empty(), "a sweep without seeds");
    check(std::set<std::uint64_t>(plan.seeds.begin(), plan.seeds.end()).size() == plan.seeds.size(),
          "a seed given twice");
    check(!plan.jobs || (*plan.jobs >= 1 && *plan.jobs <= 10000), "--jobs out of range");
    std::set<std::string> columns;
    for (const Dimension& d : plan.dimensions) {
        check(d.values.size() >= 2, "a swept option of fewer than two values");
        check(std::set<std::string>(d.values.begin(), d.values.end()).size() == d.values.size(),
              "a value given twice in a list");
        check(std::none_of(d.values.begin(), d.values.end(), [](const std::string& v) { return v.empty(); }),
              "an empty value in a list");
        check(columns.insert(d.column).second, "two swept options with one column");
    }
    for (const LabArgument& a : plan.arguments)
        check(!a.dimension || *a.dimension < plan.dimensions.size(), "an argument of a dimension that does not exist");
    const std::size_t runs = runCount(plan);
    check(runs >= 1 && runs <= 1000000, "a sweep of more than a million runs accepted");
    checkRun(plan, 0);
    checkRun(plan, runs / 2);
    checkRun(plan, runs - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> args = vivarix::fuzz::splitArguments(data, size);
    const PlanResult result = parsePlan(args);
    if (!result.error.empty()) {
        if (!vivarix::fuzz::namesAnOption(result.error, args, {"--out", "--seeds", "--every"}))
            broken("the error is not one line naming an option: " + result.error);
        return 0;
    }
    if (!result.plan.help) checkAccepted(result.plan);
    return 0;
}

// vivarix-sweep end to end: real vivarix-lab runs started by GNU parallel, gathered
// into the sweep's folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "lab_run.h"
#include "support/program_run.h"
#include "sweep_gather.h"
#include "sweep_main.h"
#include "sweep_plot.h"

namespace vivarix::sweep {
namespace {

using test::lines;
using test::readFile;

class Sweep : public test::ScratchDir {
protected:
    test::Outcome sweep(std::vector<std::string> args, const std::string& folder = "s") {
        args.insert(args.end(), {"--out", (dir / folder).string()});
        return test::runMain(sweepMain, "vivarix-sweep", std::move(args));
    }
    std::string file(const char* name) { return readFile(dir / "s" / name); }
};

// Two values of --auto times two seeds; the creatures mature early, so that the
// runs differ by the last line.
const std::vector<std::string> fourRuns = {"--seeds", "1-2",  "--ticks", "600", "--every",   "300",
                                           "--auto",  "5,20", "--reif",  "10",  "--scatter", "0:0:30"};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> all;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) all.push_back(field);
    return all;
}

TEST_F(Sweep, RowsAreTheLabRunsTheyCameFrom) {
    const test::Outcome o = sweep(fourRuns);
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = lines(file("runs.csv"));
    ASSERT_EQ(rows.size(), 1u + 4 * 2);
    EXPECT_EQ(rows[0].rfind("auto,seed,tick,kind0,kind1,nutrient,creatures_hash,strains0,", 0), 0u);
    std::size_t row = 1;
    for (const char* autoValue : {"5", "20"})
        for (const char* seed : {"1", "2"}) {
            const auto lab = lines(test::runMain(lab::labMain, "vivarix-lab",
                                                 {"--seed", seed, "--ticks", "600", "--every", "300", "--auto",
                                                  autoValue, "--reif", "10", "--scatter", "0:0:30", "--stats"})
                                       .out);
            ASSERT_EQ(lab.size(), 3u);
            for (std::size_t i = 1; i < lab.size(); ++i)
                EXPECT_EQ(rows[row++], std::string(autoValue) + "," + seed + "," + lab[i]);
        }
    // The summary's kind0 spread at tick 600 for --auto 20 is that of its two runs.
    const auto summary = lines(file("summary.csv"));
    ASSERT_EQ(summary.size(), 1u + 2 * 2);
    const long long a = std::stoll(fields(rows[6])[3]), b = std::stoll(fields(rows[8])[3]);
    ASSERT_NE(a, b);
    const auto last = fields(summary[4]);
    EXPECT_EQ(std::vector<std::string>(last.begin(), last.begin() + 3), (std::vector<std::string>{"20", "600", "2"}));
    EXPECT_DOUBLE_EQ(std::stod(last[3]), (a + b) / 2.0);
    EXPECT_EQ(std::stoll(last[4]), std::min(a, b));
    EXPECT_DOUBLE_EQ(std::stod(last[5]), std::min(a, b) + 0.1 * std::abs(a - b));
    EXPECT_EQ(std::stoll(last[8]), std::max(a, b));
    EXPECT_EQ(file("population.png").substr(1, 3), "PNG");
}

TEST_F(Sweep, TheSameSweepAgainRunsOnlyWhatDidNotFinish) {
    auto args = fourRuns;
    args.insert(args.end(), {"--jobs", "1"});
    ASSERT_EQ(sweep(args).status, 0);
    const std::string log = file("joblog"), runs = file("runs.csv");
    ASSERT_EQ(lines(log).size(), 1u + 4);
    ASSERT_EQ(sweep(args).status, 0);  // all finished: nothing runs again
    EXPECT_EQ(file("joblog"), log);

    // Cut short after runs 1 and 2 (in the order they started): only 3 and 4 run.
    const auto logged = lines(log);
    std::ofstream(dir / "s" / "joblog") << logged[0] << "\n" << logged[1] << "\n" << logged[2] << "\n";
    std::filesystem::remove(dir / "s" / "runs" / "3");
    const auto before = std::filesystem::last_write_time(dir / "s" / "runs" / "1");
    ASSERT_EQ(sweep(args).status, 0);
    const auto after = lines(file("joblog"));
    ASSERT_EQ(after.size(), 1u + 4);
    EXPECT_EQ(after[3].substr(0, 2), "3\t");
    EXPECT_EQ(after[4].substr(0, 2), "4\t");
    EXPECT_EQ(std::filesystem::last_write_time(dir / "s" / "runs" / "1"), before);
    EXPECT_EQ(file("runs.csv"), runs);
}

TEST_F(Sweep, AFailedRunIsNamedAndTheOthersAreGathered) {
    const auto lab = dir / "failing-lab";  // fails for seed 2
    std::ofstream(lab) << "#!/bin/sh\ncase \" $* \" in *\" --seed 2 \"*) echo 'out of luck' >&2; exit 3;; esac\n"
                       << "exec '" << VIVARIX_LAB_PROGRAM << "' \"$@\"\n";
    std::filesystem::permissions(lab, std::filesystem::perms::owner_all);
    auto args = fourRuns;
    args.insert(args.end(), {"--lab", lab.string()});
    const test::Outcome o = sweep(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err,
              "vivarix-sweep: run 2 (--auto 5 --seed 2) failed with exit status 3: out of luck\n"
              "vivarix-sweep: run 4 (--auto 20 --seed 2) failed with exit status 3: out of luck\n");
    EXPECT_EQ(lines(file("runs.csv")).size(), 1u + 2 * 2);
    const auto summary = lines(file("summary.csv"));
    for (std::size_t i = 1; i < summary.size(); ++i) EXPECT_EQ(fields(summary[i])[2], "1") << summary[i];
}

TEST_F(Sweep, BadSweepsAreRefusedBeforeAnyRun) {
    const std::string out = (dir / "s").string();
    for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--seeds", "1-2", "--every", "5", "--speed", "3"}, "--speed: unknown option"},
             {{"--seeds", "1-2", "--every", "5", "--auto", "5,,10"}, "--auto: an empty value in the list 5,,10"},
             {{"--seeds", "1-2", "--every", "5", "--auto", "5,"}, "--auto: an empty value"},
             {{"--seeds", "32-1", "--every", "5"}, "--seeds: 32-1 runs backwards; write 1-32"},
             {{"--seeds", "", "--every", "5"}, "--seeds: "},
             {{"--seeds", "1-3", "--every", "5", "--auto", "5,99"},
              "--auto: 99 is too large: at most 40 (in the runs with --auto 99)"},
             {{"--seeds", "1-3"}, "--every: needed"},
             {{"--seeds", "1-3", "--every", "5", "--seed", "4"}, "--seed: a sweep takes its seeds from --seeds"},
             {{"--seeds", "1-3", "--every", "5", "--replay", "s.vxs"}, "--replay: not in a sweep"},
             {{"--every", "5"}, "--seeds: needed"}}) {
        const test::Outcome o = sweep(args);
        EXPECT_EQ(o.status, 2) << message;
        EXPECT_EQ(o.err.rfind("vivarix-sweep: " + message, 0), 0u) << o.err;
        EXPECT_EQ(lines(o.err).size(), 1u) << o.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << message;
    }
    // A folder with another sweep's results, one in use, one with files of no sweep.
    auto args = fourRuns;
    args.insert(args.end(), {"--ticks", "20"});  // the last --ticks counts
    ASSERT_EQ(sweep(args).status, 0);
    const std::string log = file("joblog");
    args.back() = "30";
    EXPECT_EQ(sweep(args).err, "vivarix-sweep: " + out +
                                   " holds the results of another sweep (its runs differ); "
                                   "choose another --out\n");
    args.back() = "20";
    const int held = ::open((dir / "s" / "sweep").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(sweep(args).err, "vivarix-sweep: " + out + " is in use by another vivarix-sweep\n");
    ::close(held);
    EXPECT_EQ(file("joblog"), log);
    std::ofstream(dir / "notes.txt") << "mine\n";
    EXPECT_EQ(sweep(args, "").status, 2);
}

TEST(SweepSummary, PercentilesInterpolateBetweenRanks) {
    std::vector<std::int64_t> eleven = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, two = {30, 10}, one = {7};
    const Spread s = spreadOf(eleven), t = spreadOf(two);
    EXPECT_EQ(std::vector<double>({s.mean, double(s.min), s.p10, s.median, s.p90, double(s.max)}),
              std::vector<double>({6, 1, 2, 6, 10, 11}));
    EXPECT_EQ(figure(t.p10) + " " + figure(t.median) + " " + figure(t.p90), "12 20 28");
    EXPECT_EQ(figure(spreadOf(one).p90), "7");
    EXPECT_EQ(figure(2.0 / 3), "0.667");
}

TEST(SweepPlot, ASingleTickIsDrawnAsAPoint) {
    const PlanResult parsed = parsePlan({"--out", "x", "--seeds", "1", "--every", "5", "--ticks", "5"});
    ASSERT_EQ(parsed.error, "");
    const std::string script = plotScript(parsed.plan, {SummaryRow{0, 5, 1, {}}}, "x.png");
    EXPECT_NE(script.find("using 1:3 with linespoints"), std::string::npos) << script;
    EXPECT_NE(script.find("set xrange [0:6]"), std::string::npos);  // the point clear of the edge
    EXPECT_NE(script.find("set yrange [0:1]"), std::string::npos);
}

}  // namespace
}  // namespace vivarix::sweep

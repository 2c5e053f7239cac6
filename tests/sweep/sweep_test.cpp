// vivarix-sweep end to end: real vivarix-lab runs started by GNU parallel, gathered
// into the sweep's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lab_run.h"
#include "sweep_gather.h"
#include "sweep_main.h"
#include "sweep_plot.h"
#include "support/scratch_dir.h"

namespace vivarix::sweep {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

template <class Main>
Outcome runMain(Main main, const char* name, std::vector<std::string> args) {
    args.insert(args.begin(), name);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = main(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

class Sweep : public test::ScratchDir {
protected:
    Outcome sweep(std::vector<std::string> args) { return runMain(sweepMain, "vivarix-sweep", std::move(args)); }
};

// Two values of --auto times two seeds; the creatures mature early, so that the
// runs differ by the last line.
const std::vector<std::string> fourRuns = {"--seeds", "1-2", "--ticks", "600", "--every", "300", "--auto", "5,20",
                                           "--reif", "10", "--scatter", "0:0:30"};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> all;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) all.push_back(field);
    return all;
}

TEST_F(Sweep, RowsAreTheLabRunsTheyCameFrom) {
    auto args = fourRuns;
    args.insert(args.end(), {"--out", (dir / "s").string()});
    const Outcome o = sweep(args);
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = lines(readFile(dir / "s" / "runs.csv"));
    ASSERT_EQ(rows.size(), 1u + 4 * 2);
    EXPECT_EQ(rows[0].rfind("auto,seed,tick,kind0,kind1,nutrient,creatures_hash,strains0,", 0), 0u);
    std::size_t row = 1;
    for (const char* autoValue : {"5", "20"})
        for (const char* seed : {"1", "2"}) {
            const Outcome lab = runMain(lab::labMain, "vivarix-lab",
                                        {"--seed", seed, "--ticks", "600", "--every", "300", "--auto", autoValue,
                                         "--reif", "10", "--scatter", "0:0:30", "--stats"});
            const auto labRows = lines(lab.out);
            ASSERT_EQ(labRows.size(), 3u);
            for (std::size_t i = 1; i < labRows.size(); ++i)
                EXPECT_EQ(rows[row++], std::string(autoValue) + "," + seed + "," + labRows[i]);
        }
    // The summary's kind0 spread at tick 600 for --auto 20 is that of its two runs.
    const auto summary = lines(readFile(dir / "s" / "summary.csv"));
    ASSERT_EQ(summary.size(), 1u + 2 * 2);
    const long long a = std::stoll(fields(rows[6])[3]), b = std::stoll(fields(rows[8])[3]);
    ASSERT_NE(a, b);
    const auto last = fields(summary[4]);
    EXPECT_EQ(std::vector<std::string>(last.begin(), last.begin() + 3), (std::vector<std::string>{"20", "600", "2"}));
    EXPECT_DOUBLE_EQ(std::stod(last[3]), (a + b) / 2.0);
    EXPECT_EQ(std::stoll(last[4]), std::min(a, b));
    EXPECT_DOUBLE_EQ(std::stod(last[5]), std::min(a, b) + 0.1 * std::abs(a - b));
    EXPECT_EQ(std::stoll(last[8]), std::max(a, b));
    const std::string png = readFile(dir / "s" / "population.png");
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST_F(Sweep, TheSameSweepAgainRunsOnlyWhatDidNotFinish) {
    auto args = fourRuns;
    args.insert(args.end(), {"--out", (dir / "s").string(), "--jobs", "1"});
    ASSERT_EQ(sweep(args).status, 0);
    const std::string log = readFile(dir / "s" / "joblog");
    const std::string runs = readFile(dir / "s" / "runs.csv");
    ASSERT_EQ(lines(log).size(), 1u + 4);

    // Finished: nothing runs again.
    ASSERT_EQ(sweep(args).status, 0);
    EXPECT_EQ(readFile(dir / "s" / "joblog"), log);

    // Cut short after runs 1 and 2 (in the order they started): only 3 and 4 run.
    const auto logged = lines(log);
    std::ofstream(dir / "s" / "joblog") << logged[0] << "\n" << logged[1] << "\n" << logged[2] << "\n";
    fs::remove(dir / "s" / "runs" / "3");
    const auto before = fs::last_write_time(dir / "s" / "runs" / "1");
    ASSERT_EQ(sweep(args).status, 0);
    const auto after = lines(readFile(dir / "s" / "joblog"));
    ASSERT_EQ(after.size(), 1u + 4);
    EXPECT_EQ(after[3].substr(0, 2), "3\t");
    EXPECT_EQ(after[4].substr(0, 2), "4\t");
    EXPECT_EQ(fs::last_write_time(dir / "s" / "runs" / "1"), before);
    EXPECT_EQ(readFile(dir / "s" / "runs.csv"), runs);
}

TEST_F(Sweep, AFailedRunIsNamedAndTheOthersAreGathered) {
    // A vivarix-lab that fails for seed 2.
    const fs::path lab = dir / "failing-lab";
    std::ofstream(lab) << "#!/bin/sh\ncase \" $* \" in *\" --seed 2 \"*) echo 'out of luck' >&2; exit 3;; esac\n"
                       << "exec '" << VIVARIX_LAB_PROGRAM << "' \"$@\"\n";
    fs::permissions(lab, fs::perms::owner_all);
    auto args = fourRuns;
    args.insert(args.end(), {"--out", (dir / "s").string(), "--lab", lab.string()});
    const Outcome o = sweep(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(lines(o.err),
              (std::vector<std::string>{
                  "vivarix-sweep: run 2 (--auto 5 --seed 2) failed with exit status 3: out of luck",
                  "vivarix-sweep: run 4 (--auto 20 --seed 2) failed with exit status 3: out of luck"}));
    EXPECT_EQ(lines(readFile(dir / "s" / "runs.csv")).size(), 1u + 2 * 2);
    const auto summary = lines(readFile(dir / "s" / "summary.csv"));
    for (std::size_t i = 1; i < summary.size(); ++i) {
        EXPECT_NE(summary[i].find(",1,"), std::string::npos) << summary[i];  // one run each
    }
}

TEST_F(Sweep, BadSweepsAreRefusedBeforeAnyRun) {
    const std::string out = (dir / "s").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--seeds", "1-2", "--every", "5", "--speed", "3"}, "--speed: unknown option"},
        {{"--seeds", "1-2", "--every", "5", "--auto", "5,,10"}, "--auto: an empty value in the list 5,,10"},
        {{"--seeds", "1-2", "--every", "5", "--auto", "5,"}, "--auto: an empty value"},
        {{"--seeds", "32-1", "--every", "5"}, "--seeds: 32-1 runs backwards; write 1-32"},
        {{"--seeds", "", "--every", "5"}, "--seeds: "},
        {{"--seeds", "1-3", "--every", "5", "--auto", "5,99"}, "--auto: 99 is too large: at most 40 (in the runs "
                                                              "with --auto 99)"},
        {{"--seeds", "1-3"}, "--every: needed"},
        {{"--seeds", "1-3", "--every", "5", "--seed", "4"}, "--seed: a sweep takes its seeds from --seeds"},
        {{"--every", "5"}, "--seeds: needed"},
    };
    for (const auto& [args, message] : bad) {
        auto withOut = args;
        withOut.insert(withOut.end(), {"--out", out});
        const Outcome o = sweep(withOut);
        EXPECT_EQ(o.status, 2) << message;
        EXPECT_EQ(o.err.rfind("vivarix-sweep: " + message, 0), 0u) << o.err;
        EXPECT_EQ(lines(o.err).size(), 1u) << o.err;
        EXPECT_FALSE(fs::exists(out)) << message;
    }
    // A folder with another sweep's results, or with files of no sweep.
    auto args = fourRuns;
    args.insert(args.end(), {"--out", out, "--ticks", "20"});  // the last --ticks counts
    ASSERT_EQ(sweep(args).status, 0);
    const std::string log = readFile(dir / "s" / "joblog");
    args.back() = "30";
    const Outcome other = sweep(args);
    EXPECT_EQ(other.status, 2);
    EXPECT_EQ(other.err, "vivarix-sweep: " + out + " holds the results of another sweep (its runs differ); choose "
                                                   "another --out\n");
    EXPECT_EQ(readFile(dir / "s" / "joblog"), log);
    std::ofstream(dir / "notes.txt") << "mine\n";
    args.insert(args.end(), {"--out", dir.string()});
    EXPECT_EQ(sweep(args).status, 2);
}

TEST(SweepSummary, PercentilesInterpolateBetweenRanks) {
    std::vector<std::int64_t> eleven = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    const Spread s = spreadOf(eleven);
    EXPECT_EQ(s.min, 1);
    EXPECT_EQ(s.max, 11);
    EXPECT_DOUBLE_EQ(s.mean, 6);
    EXPECT_DOUBLE_EQ(s.p10, 2);
    EXPECT_DOUBLE_EQ(s.median, 6);
    EXPECT_DOUBLE_EQ(s.p90, 10);
    std::vector<std::int64_t> two = {30, 10};
    const Spread t = spreadOf(two);
    EXPECT_EQ(figure(t.p10), "12");
    EXPECT_EQ(figure(t.median), "20");
    EXPECT_EQ(figure(t.p90), "28");
    std::vector<std::int64_t> one = {7};
    EXPECT_EQ(figure(spreadOf(one).p90), "7");
    EXPECT_EQ(figure(2.0 / 3), "0.667");
}

TEST(SweepPlot, ASingleTickIsDrawnAsAPoint) {
    const PlanResult parsed = parsePlan({"--out", "x", "--seeds", "1", "--every", "5", "--ticks", "5"});
    ASSERT_EQ(parsed.error, "");
    SummaryRow row;
    row.tick = 5;
    row.runs = 1;
    const std::string script = plotScript(parsed.plan, {row}, "x.png");
    EXPECT_NE(script.find("using 1:3 with linespoints"), std::string::npos) << script;
    EXPECT_NE(script.find("set xrange [0:6]"), std::string::npos);  // the point clear of the edge
    EXPECT_NE(script.find("set yrange [0:1]"), std::string::npos);
}

}  // namespace
}  // namespace vivarix::sweep

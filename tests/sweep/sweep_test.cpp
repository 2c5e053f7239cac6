// vivarix-sweep end to end: real vivarix-lab runs started by GNU parallel, gathered
// into the sweep's folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "lab_run.h"
#include "platform/core/version.h"
#include "support/program_run.h"
#include "sweep_gather.h"
#include "sweep_main.h"
#include "sweep_plot.h"
#include "sweep_process.h"
#include "sweep_provenance.h"
#include "thousandths.h"

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
    // The share of blue's most common strain: the mean of the runs' rounded shares.
    std::int64_t shares = 0;
    for (const std::size_t r : {6, 8})
        shares += lab::roundedThousandths(std::stoll(fields(rows[r])[9]), std::stoll(fields(rows[r])[3]));
    EXPECT_EQ(last[33], figure(lab::roundedThousandths(shares, 2000)));
    for (const char* picture : {"population.png", "strains.png", "genes.png"})
        EXPECT_EQ(file(picture).substr(1, 3), "PNG") << picture;
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
    // With no run finished, gnuplot still draws every picture, on log axes too.
    args.insert(args.end(), {"--seeds", "2", "--log"});
    EXPECT_EQ(sweep(args, "none").status, 1);
    for (const char* picture : {"population", "strains", "genes"}) {
        EXPECT_EQ(readFile(dir / "none" / (std::string(picture) + ".png")).substr(1, 3), "PNG") << picture;
        EXPECT_NE(readFile(dir / "none" / (std::string(picture) + ".gp")).find("no finished run"), std::string::npos);
    }
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
             {{"--seeds", "0-999999,1000000-1999999", "--every", "5"}, "--seeds: more than 1000000 seeds"},
             {{"--seeds", "1", "--every", "5", "--replay", "a.vxs"}, "--replay: not in a sweep"},
             {{"--seeds", "1", "--every", "5", "--no-wait"}, "--no-wait: only with --slurm"},
             {{"--seeds", "1", "--every", "5", "--lab", "a\nb"}, "--lab: a newline in the value"},
             {{"--seeds", "1", "--every", "5", "--hosts", "h", "--creatures-every", "5"},
              "--creatures-every: not with --hosts"},
             {{"--seeds", "1", "--every", "5", "--hosts", "/dev/null"}, "--hosts: /dev/null names no machine"},
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

TEST(SweepSummary, PercentilesInterpolateBetweenRanksAndHalvesRoundUpAsInTheLab) {
    std::vector<std::int64_t> eleven = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, two = {30, 10}, one = {7};
    const Spread s = spreadOf(eleven), t = spreadOf(two);
    EXPECT_EQ(std::vector<std::int64_t>({s.meanThousandths, s.min, s.p10Tenths, s.medianTenths, s.p90Tenths, s.max}),
              std::vector<std::int64_t>({6000, 1, 20, 60, 100, 11}));
    EXPECT_EQ(tenthsFigure(t.p10Tenths) + " " + tenthsFigure(t.medianTenths) + " " + tenthsFigure(t.p90Tenths),
              "12 20 28");
    EXPECT_EQ(tenthsFigure(spreadOf(one).p90Tenths), "7");
    // 1/16 = 0.0625 and 7/16 = 0.4375 lie halfway; binary rounding would give 0.062.
    std::vector<std::int64_t> sixteen(16, 0);
    sixteen[0] = 1;
    EXPECT_EQ(figure(spreadOf(sixteen).meanThousandths), "0.063");
    EXPECT_EQ(lab::thousandthsText(lab::roundedThousandths(7, 16), false), "0.438");
    EXPECT_EQ(figure(lab::roundedThousandths(-1, 16)), "-0.063");
    EXPECT_EQ(figure(lab::roundedThousandths(2, 3)), "0.667");
}

TEST(SweepPlot, ASingleTickIsAPointAndLogDrawsCountsOnALogAxis) {
    PlanResult parsed = parsePlan({"--out", "x", "--seeds", "1", "--every", "5", "--ticks", "5"});
    ASSERT_EQ(parsed.error, "");
    const std::string script = plotScript(parsed.plan, {SummaryRow{0, 5, 1, {}, {}}}, Figure::population);
    EXPECT_NE(script.find("using 1:3 with linespoints"), std::string::npos) << script;
    EXPECT_NE(script.find("set xrange [0:6]"), std::string::npos);  // the point clear of the edge
    EXPECT_NE(script.find("set yrange [0:1]"), std::string::npos);
    EXPECT_NE(script.find("set output 'population.png'"), std::string::npos);
    parsed.plan.log = true;
    EXPECT_NE(plotScript(parsed.plan, {SummaryRow{0, 5, 1, {}, {}}}, Figure::strains).find("set logscale y\n"),
              std::string::npos);
}

// The lines of a gzip file.
std::vector<std::string> gzipLines(const std::filesystem::path& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    std::string text;
    char buffer[65536];
    for (int n; file && (n = gzread(file, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    if (file) gzclose(file);
    return lines(text);
}

TEST_F(Sweep, AGrownSweepRunsOnlyItsNewRunsAndEqualsTheWholeSweep) {
    const std::vector<std::string> args = {"--ticks",   "400",     "--every",           "200", "--jobs",  "1",
                                           "--scatter", "0:0:20", "--creatures-every", "200", "--seeds", "1-2",
                                           "--auto",    "5,20"};
    ASSERT_EQ(sweep(args).status, 0);
    const auto before = std::filesystem::last_write_time(dir / "s" / "runs" / "1");
    // More seeds, a value more and the options in another order: five new runs.
    std::vector<std::string> grown = {"--creatures-every", "200", "--scatter", "0:0:20", "--jobs", "1", "--every",
                                      "200", "--ticks", "400", "--auto", "20,5,10", "--seeds", "1-3"};
    const test::Outcome o = sweep(grown);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(lines(file("joblog")).size(), 1u + 9);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "s" / "runs" / "1"), before);
    ASSERT_EQ(sweep(grown, "whole").status, 0);
    for (const char* name : {"runs.csv", "summary.csv"}) EXPECT_EQ(file(name), readFile(dir / "whole" / name)) << name;
    const auto creatures = gzipLines(dir / "s" / "creatures.csv.gz");
    EXPECT_EQ(creatures, gzipLines(dir / "whole" / "creatures.csv.gz"));
    ASSERT_GT(creatures.size(), 1u);
    EXPECT_EQ(creatures[0], "auto,seed," + lines(lab::creatureSeriesHeader())[0]);
    EXPECT_EQ(creatures[1], "20,1," + lines(readFile(dir / "s" / "runs" / "3.creatures.csv"))[1]);
    // sweep.json tells both sweeps, the latest last.
    const std::vector<std::string> sweeps = readEarlier((dir / "s").string());
    ASSERT_EQ(sweeps.size(), 2u);
    for (const char* said :
         {"\"runs\": {\"folder\": 9, \"added\": 5, \"done\": 9, \"failed\": 0}", "\"hosts\": [\":\"]",
          "\"parameters\": {\"seeds\": \"1-3\", \"swept\": {\"auto\": [\"20\", \"5\", \"10\"]}, \"fixed\": "
          "[[\"--scatter\", \"0:0:20\"], [\"--every\", \"200\"], [\"--ticks\", \"400\"]], \"creatures_every\": 200}"})
        EXPECT_NE(sweeps[1].find(said), std::string::npos) << said << " not in " << sweeps[1];
    EXPECT_NE(sweeps[1].find("\"version\": " + jsonString(versionText())), std::string::npos);
    EXPECT_EQ(sweeps[1].find("\"end\": null"), std::string::npos);
    // A sweep that differs in a fixed option is another sweep.
    grown.insert(grown.end(), {"--reif", "30"});
    EXPECT_NE(sweep(grown).err.find("holds the results of another sweep"), std::string::npos);
}

TEST_F(Sweep, AFolderOfTheEarlierRecordIsResumedAndGatherReadsTheFoldersCommand) {
    ASSERT_EQ(sweep(fourRuns).status, 0);
    const std::string log = file("joblog"), summary = file("summary.csv");
    // Earlier folders recorded each run's arguments in command-line order.
    std::string record = lines(file("sweep"))[0] + "\n";
    for (const char* a : {"5", "20"})
        for (const char* seed : {"1", "2"})
            record += std::string("--seed ") + seed + " --ticks 600 --every 300 --auto " + a +
                      " --reif 10 --scatter 0:0:30 --stats\n";
    std::ofstream(dir / "s" / "sweep") << record;
    std::filesystem::remove(dir / "s" / "summary.csv");
    ASSERT_EQ(sweep(fourRuns).status, 0);
    EXPECT_EQ(file("joblog"), log);  // nothing ran again
    std::filesystem::remove(dir / "s" / "summary.csv");
    const auto gathered = test::runMain(sweepMain, "vivarix-sweep", {"--gather", (dir / "s").string()});
    EXPECT_EQ(gathered.status, 0) << gathered.err;
    EXPECT_EQ(file("summary.csv"), summary);
    EXPECT_EQ(test::runMain(sweepMain, "vivarix-sweep", {"--gather", dir.string()}).err,
              "vivarix-sweep: --gather: " + dir.string() + " holds no sweep's command\n");
    EXPECT_EQ(test::runMain(sweepMain, "vivarix-sweep", {"--gather", dir.string(), "--jobs", "2"}).err,
              "vivarix-sweep: --gather: only --log may go with it, not --jobs\n");
}

TEST(SweepRecord, RunsAreTheSameWhateverTheOrderOfTheirOptionsButNotOfTheirScatters) {
    EXPECT_EQ(canonicalKey({"--seed", "1", "--auto", "5", "--stats", "--reif", "30"}),
              canonicalKey({"--reif", "30", "--stats", "--seed", "1", "--auto", "5"}));
    EXPECT_NE(canonicalKey({"--scatter", "0:0:9", "--scatter", "0:1:9"}),
              canonicalKey({"--scatter", "0:1:9", "--scatter", "0:0:9"}));
    EXPECT_EQ(jsonString("a \"b\" \\ \n\x01"), "\"a \\\"b\\\" \\\\ \\u000a\\u0001\"");
}

TEST_F(Sweep, AnyFolderNameWorksAndADifferentLabVersionIsRefused) {
    auto args = fourRuns;
    ASSERT_EQ(sweep(args, "a {} b {#}").status, 0);
    EXPECT_EQ(lines(readFile(dir / "a {} b {#}" / "runs.csv")).size(), 1u + 4 * 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no stray folder

    const auto lab = dir / "old-lab";
    std::ofstream(lab) << "#!/bin/sh\necho 'vivarix-lab 0.3'\n";
    std::filesystem::permissions(lab, std::filesystem::perms::owner_all);
    args.insert(args.end(), {"--lab", lab.string()});
    const test::Outcome o = sweep(args, "old");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "vivarix-sweep: " + lab.string() + " --version says vivarix-lab 0.3, not vivarix-lab " +
                         versionText() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "old"));
    // The same through GNU parallel's login file, ":" being this machine.
    std::ofstream(dir / "hosts") << "# here\n:\n";
    args.insert(args.end(), {"--hosts", (dir / "hosts").string()});
    EXPECT_EQ(sweep(args, "old").err, "vivarix-sweep: the host : has vivarix-lab 0.3, not vivarix-lab " +
                                          std::string(versionText()) + "\n");
}

TEST(SweepProcess, WhatAProgramOfItsOwnSessionLeavesBehindIsStopped) {
    const std::string pidFile = std::filesystem::temp_directory_path() / ("vivarix-left-" + std::to_string(getpid()));
    EXPECT_EQ(runProgram({"sh", "-c", "sleep 60 & echo $!"}, {"/dev/null", pidFile, "", true}), 0);
    const std::string left = "/proc/" + lines(readFile(pidFile)).at(0) + "/stat";
    std::filesystem::remove(pidFile);
    const std::string stat = readFile(left);  // gone, or a zombie not yet reaped
    EXPECT_TRUE(stat.empty() || stat.find(") Z ") != std::string::npos) << stat;
}

TEST_F(Sweep, SigtermStopsTheRunsAndTheSameCommandFinishesTheSweep) {
    // Runs of about a second, two at a time.
    std::vector<std::string> args = {VIVARIX_SWEEP_PROGRAM, "--out", (dir / "s").string(), "--seeds", "1-4",
                                     "--ticks", "8000", "--every", "1000", "--jobs", "2", "--auto", "40",
                                     "--scatter", "0:0:300", "--scatter", "0:1:300"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    // Once the first run has ended.
    for (int i = 0; i < 600 && lines(file("joblog")).size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 143);
    // Nothing runs in the folder any more.
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::error_code error;
        const auto cwd = std::filesystem::read_symlink(process.path() / "cwd", error);
        EXPECT_TRUE(error || cwd != dir / "s") << process.path();
    }
    const std::size_t ended = lines(file("joblog")).size() - 1;
    EXPECT_LT(ended, 4u);

    args[2] = (dir / "whole").string();
    const auto whole = test::runMain(sweepMain, "vivarix-sweep", {args.begin() + 1, args.end()});
    ASSERT_EQ(whole.status, 0) << whole.err;
    args[2] = (dir / "s").string();
    const auto resumed = test::runMain(sweepMain, "vivarix-sweep", {args.begin() + 1, args.end()});
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_EQ(lines(file("joblog")).size() - 1, 4u);
    for (const char* name : {"runs.csv", "summary.csv"}) EXPECT_EQ(file(name), readFile(dir / "whole" / name)) << name;
}

}  // namespace
}  // namespace vivarix::sweep

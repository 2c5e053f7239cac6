#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "lab_run.h"
#include "platform/core/version.h"
#include "support/program_run.h"

namespace vivarix::lab {
namespace {

using test::lines;
using test::Outcome;
using test::readFile;
using LabFiles = test::ScratchDir;

Outcome runLab(std::vector<std::string> args) { return test::runMain(labMain, "vivarix-lab", std::move(args)); }

TEST(LabRun, CsvLinesAtEveryPeriodAndAfterTheLastPass) {
    const Outcome o = runLab({"--seed", "1", "--ticks", "25", "--place", "0:0:230:230", "--every", "10"});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = lines(o.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "tick,kind0,kind1,nutrient,creatures_hash");
    EXPECT_EQ(rows[1].rfind("10,", 0), 0u);
    EXPECT_EQ(rows[2].rfind("20,", 0), 0u);
    EXPECT_EQ(rows[3].rfind("25,", 0), 0u);
    // tick,kind0,kind1,nutrient,16 hex digits
    const std::string& last = rows[3];
    const auto comma = last.rfind(',');
    const std::string hash = last.substr(comma + 1);
    EXPECT_EQ(hash.size(), 16u);
    EXPECT_EQ(hash.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(LabRun, NoExtraLineWhenTheLastPassIsAMultiple) {
    const Outcome o = runLab({"--seed", "1", "--ticks", "20", "--every", "10"});
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(lines(o.out).size(), 3u);
}

TEST(LabRun, WithoutEveryThereIsNoCsv) {
    const Outcome o = runLab({"--seed", "1", "--ticks", "3"});
    ASSERT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");
}

TEST(LabRun, SameSeedSameRunOtherSeedOtherPlate) {
    const std::vector<std::string> args = {"--ticks", "300", "--place", "0:0:230:230", "--place", "0:1:200:260",
                                           "--every", "100"};
    auto with = [&](const char* seed) {
        auto a = args;
        a.insert(a.begin(), {"--seed", seed});
        return runLab(a).out;
    };
    EXPECT_EQ(with("7"), with("7"));
    EXPECT_NE(with("7"), with("8"));
}

TEST(LabRun, BadOptionsExitTwoWithOneLine) {
    const Outcome o = runLab({"--auto", "99"});
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(lines(o.err).size(), 1u);
    EXPECT_NE(o.err.find("--auto"), std::string::npos);
}

TEST(LabRun, AMissingSeedIsTakenFromTheClockAndReported) {
    const Outcome o = runLab({"--ticks", "0"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err.rfind("vivarix-lab: seed ", 0), 0u);
}

TEST_F(LabFiles, TheGridDumpHas461LinesOf461Cells) {
    const auto path = dir / "grid.txt";
    const Outcome o = runLab({"--seed", "3", "--ticks", "0", "--dump-grid", path.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto rows = lines(readFile(path));
    ASSERT_EQ(rows.size(), 461u);
    for (const auto& row : rows) {
        std::istringstream in(row);
        int n = 0, value = 0;
        while (in >> value) {
            ASSERT_GE(value, -1);
            ASSERT_LE(value, 4);
            ++n;
        }
        ASSERT_EQ(n, 461);
        ASSERT_EQ(row.find("  "), std::string::npos);
    }
    // Line 230 runs through the middle of the plate; line 460 is all -1.
    EXPECT_NE(rows[230].find(" 1 "), std::string::npos);
    std::string offPlate = "-1";
    for (int i = 0; i < 460; ++i) offPlate += " -1";
    EXPECT_EQ(rows[460], offPlate);
}

TEST_F(LabFiles, TheCreaturesDumpMatchesTheLastHash) {
    const auto path = dir / "creatures.txt";
    const Outcome o = runLab({"--seed", "5", "--ticks", "200", "--place", "0:0:230:230", "--place", "0:1:240:240",
                              "--every", "200", "--dump-creatures", path.string()});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string text = readFile(path);
    ASSERT_FALSE(text.empty());
    const auto rows = lines(o.out);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a64(text)));
    EXPECT_EQ(rows.back().substr(rows.back().rfind(',') + 1), hash);
    for (const auto& row : lines(text)) {
        std::istringstream in(row);
        int n = 0;
        long long value;
        while (in >> value) ++n;
        ASSERT_EQ(n, 20);
    }
}

TEST_F(LabFiles, AnUnwritableFileFailsWithStatusOne) {
    const Outcome o = runLab({"--seed", "1", "--ticks", "0", "--dump-grid", (dir / "no" / "such" / "dir").string()});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("cannot write"), std::string::npos);
}

TEST_F(LabFiles, AnUnwritableFileIsFoundBeforeTheRun) {
    const std::string bad = (dir / "no" / "such.txt").string();
    for (const std::vector<std::string>& file :
         std::vector<std::vector<std::string>>{{"--dump-creatures", bad}, {"--creatures-every", "5", bad}}) {
        std::vector<std::string> args = {"--seed", "1", "--ticks", "50", "--every", "10"};
        args.insert(args.end(), file.begin(), file.end());
        const Outcome o = runLab(args);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, "");  // nothing ran: no CSV line
        EXPECT_EQ(o.err, "vivarix-lab: cannot write " + bad + "\n");
    }
}

TEST(LabRun, RefusedPlacementsAreWarnedAndChangeNothingElse) {
    // After pass 0 the creature placed at (230, 230) has ended its move on (229, 231).
    const std::vector<std::string> base = {"--seed", "2", "--ticks", "30", "--place", "0:0:230:230", "--every", "10"};
    auto with = base;
    with.insert(with.end(), {"--place", "1:1:229:231", "--place", "1:0:5:5", "--place", "4:1:600:100"});
    const Outcome plain = runLab(base);
    const Outcome refused = runLab(with);
    ASSERT_EQ(refused.status, 0);
    EXPECT_EQ(refused.out, plain.out);
    EXPECT_EQ(lines(refused.err),
              (std::vector<std::string>{
                  "vivarix-lab: pass 1: --place 1:1:229:231 placed nothing: a creature ended its move on that cell "
                  "in the last pass",
                  "vivarix-lab: pass 1: --place 1:0:5:5 placed nothing: the cell is off the plate",
                  "vivarix-lab: pass 4: --place 4:1:600:100 placed nothing: the pointer is over the control column, "
                  "right of the plate"}));
}

TEST(LabRun, TheStatisticsColumnsLeaveTheRunAlone) {
    const std::vector<std::string> args = {"--seed", "4", "--ticks", "400", "--scatter", "0:0:30", "--every", "200"};
    auto withStats = args;
    withStats.push_back("--stats");
    const auto plain = lines(runLab(args).out);
    const auto stats = lines(runLab(withStats).out);
    ASSERT_EQ(stats.size(), plain.size());
    for (std::size_t i = 0; i < stats.size(); ++i) {
        EXPECT_EQ(stats[i].rfind(plain[i] + ",", 0), 0u) << stats[i];
        EXPECT_EQ(std::count(stats[i].begin(), stats[i].end(), ','), 4 + 2 * 9);
    }
    // Red never lived: its colour and gene means are empty.
    EXPECT_EQ(stats[1].substr(stats[1].size() - 11), ",0,,0,,,,,,");
}

TEST(LabRun, AScatterRedrawsRefusedCells) {
    Options options;
    options.randomNutrient = false;
    Lab lab;
    prepareLab(lab, options.randomNutrient, 1);
    // x then y for each cell: (5, 5) is off the disc and (460, 200) in the control
    // column, both drawn again; (230, 231) is taken, and its heading drawn.
    DrawScript script;
    lab.state.random.script = &script;
    scriptDraws(lab.state.random, {5, 5, 460, 200, 230, 231, 6});
    const std::uint64_t before = lab.state.random.draws;
    EXPECT_EQ(scatterCreatures(lab.state, options, {0, 1, 1}), 1);
    EXPECT_EQ(lab.state.random.draws - before, 7u);
    const Creature* c = lab.state.creatureList.back();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->x, 230);
    EXPECT_EQ(c->y, 231);
    EXPECT_EQ(c->kind, 1);
    EXPECT_EQ(c->direction, 6);
    // A plate without a free cell: the scatter gives up after scatterTries cells.
    for (auto& cell : lab.state.plateGrid.cells) cell = -1;
    EXPECT_EQ(scatterCreatures(lab.state, options, {0, 0, 3}), 0);
    EXPECT_EQ(lab.state.random.draws - before, 7u + 2 * scatterTries);
    EXPECT_EQ(lab.state.kindCount[0], 0);
}

TEST(LabRun, ScatteredRunsAreReproducible) {
    const std::vector<std::string> args = {"--seed",  "6",         "--ticks", "3",       "--scatter",
                                           "0:0:200", "--scatter", "2:1:50",  "--every", "1"};
    const Outcome first = runLab(args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, runLab(args).out);
    const auto rows = lines(first.out);
    EXPECT_EQ(rows[1].rfind("1,200,0,", 0), 0u);
    EXPECT_EQ(rows[3].rfind("3,200,50,", 0), 0u);
}

TEST(LabRun, Fnv1aOfKnownTexts) {
    EXPECT_EQ(fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(fnv1a64("a"), 0xaf63dc4c8601ec8cull);
}

TEST(LabRun, PlacementFollowsTheClickRules) {
    Options options;
    options.placements = {{0, 0, 230, 230}, {0, 1, 230, 230}, {0, 1, 600, 230}, {0, 0, 5, 5}, {0, 1, 100, 230}};
    Lab lab;
    prepareLab(lab, options.randomNutrient, 1);
    LabInputs inputs(options);
    runPass(lab, inputs, 0);
    // The second click on the same cell is accepted (no step has marked it yet),
    // the control column and the cell off the disc are refused.
    EXPECT_EQ(lab.state.kindCount[0] + lab.state.kindCount[1], static_cast<std::int32_t>(lab.state.creatureList.size()));
    EXPECT_EQ(lab.state.kindCount[0], 1);
    EXPECT_EQ(lab.state.kindCount[1], 2);
    EXPECT_TRUE(lab.state.nutriumList.empty());
    EXPECT_EQ(lab.state.creatureList.current(), lab.state.creatureList.back());
}

TEST_F(LabFiles, TheCreaturesOverTimeAreTheDumpsAtTheirTicks) {
    // The rows of tick T are what --dump-creatures writes after T passes, with
    // commas for blanks; the last pass is sampled too, as --every samples it.
    const std::vector<std::string> run = {"--seed", "5", "--scatter", "0:0:20", "--scatter", "0:1:20", "--reif", "10"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), run.begin(), run.end());
        return runLab(more);
    };
    const std::string series = (dir / "series.csv").string(), dump = (dir / "dump.txt").string();
    ASSERT_EQ(with({"--ticks", "250", "--creatures-every", "100", series}).status, 0);
    const auto rows = lines(readFile(series));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0] + "\n", creatureSeriesHeader());
    std::map<std::string, std::string> byTick;
    for (std::size_t i = 1; i < rows.size(); ++i)
        byTick[rows[i].substr(0, rows[i].find(','))] += rows[i].substr(rows[i].find(',') + 1) + "\n";
    ASSERT_EQ(byTick.size(), 3u);
    for (const char* tick : {"100", "200", "250"}) {
        ASSERT_EQ(with({"--ticks", tick, "--dump-creatures", dump}).status, 0);
        std::string expected = readFile(dump);
        std::replace(expected.begin(), expected.end(), ' ', ',');
        EXPECT_EQ(byTick[tick], expected) << tick;
    }
    EXPECT_EQ(runLab({"--ticks", "1", "--creatures-every", "0", series}).err,
              "vivarix-lab: --creatures-every: expected a period of 1 or more passes\n");
    EXPECT_EQ(runLab({"--version"}).out, versionLine("vivarix-lab"));
}

}  // namespace
}  // namespace vivarix::lab

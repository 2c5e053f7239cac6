#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "lab_run.h"

namespace vivarix::lab {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runLab(std::vector<std::string> args) {
    args.insert(args.begin(), "vivarix-lab");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = labMain(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LabFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vivarix-lab-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

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

TEST(LabRun, Fnv1aOfKnownTexts) {
    EXPECT_EQ(fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(fnv1a64("a"), 0xaf63dc4c8601ec8cull);
}

TEST(LabRun, PlacementFollowsTheClickRules) {
    Options options;
    options.placements = {{0, 0, 230, 230}, {0, 1, 230, 230}, {0, 1, 600, 230}, {0, 0, 5, 5}, {0, 1, 100, 230}};
    Lab lab;
    prepareLab(lab, options, 1);
    runPass(lab, options, 0);
    // The second click on the same cell is accepted (no step has marked it yet),
    // the control column and the cell off the disc are refused.
    EXPECT_EQ(lab.state.kindCount[0] + lab.state.kindCount[1], static_cast<std::int32_t>(lab.state.creatureList.size()));
    EXPECT_EQ(lab.state.kindCount[0], 1);
    EXPECT_EQ(lab.state.kindCount[1], 2);
    EXPECT_TRUE(lab.state.nutriumList.empty());
    EXPECT_EQ(lab.state.creatureList.current(), lab.state.creatureList.back());
}

}  // namespace
}  // namespace vivarix::lab

// vivarix-lab's output for fixed runs stays byte for byte what it was when the runs
// were recorded in golden/lab_runs.txt: a line "$ ARGS" followed by the run's
// standard output.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lab_run.h"

namespace vivarix::lab {
namespace {

struct GoldenRun {
    std::vector<std::string> args;
    std::string expected;
};

std::vector<GoldenRun> goldenRuns() {
    std::ifstream in(VIVARIX_TEST_SOURCE_DIR "/lab/golden/lab_runs.txt");
    std::vector<GoldenRun> runs;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("$ ", 0) == 0) {
            runs.emplace_back();
            std::istringstream words(line.substr(2));
            for (std::string word; words >> word;) runs.back().args.push_back(word);
        } else if (!runs.empty()) {
            runs.back().expected += line + "\n";
        }
    }
    return runs;
}

TEST(LabGolden, OutputOfTheRecordedRunsIsUnchanged) {
    const std::vector<GoldenRun> runs = goldenRuns();
    ASSERT_EQ(runs.size(), 3u);
    for (const GoldenRun& run : runs) {
        std::vector<std::string> args = run.args;
        args.insert(args.begin(), "vivarix-lab");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        std::ostringstream out, err;
        EXPECT_EQ(labMain(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
        EXPECT_EQ(out.str(), run.expected) << "vivarix-lab " << args[1] << " ...";
    }
}

}  // namespace
}  // namespace vivarix::lab

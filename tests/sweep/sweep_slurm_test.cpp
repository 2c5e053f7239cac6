// vivarix-sweep --slurm against a stand-in for Slurm's commands: sbatch runs the
// array's tasks at once, one after the other, as the cluster would run them;
// squeue lists the job ids written to a file; scontrol reports a MaxArraySize of
// 3.  The real cluster's test (sweep.slurm) needs root; this one runs anywhere.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>

#include "support/program_run.h"
#include "sweep_main.h"
#include "sweep_slurm.h"

namespace vivarix::sweep {
namespace {

using test::lines;
using test::readFile;

constexpr const char* fakeSbatch = R"(#!/bin/sh
# sbatch [--parsable] [OPTION=VALUE]... [SCRIPT ARGUMENT...]
echo "$*" >>"$FAKE_SLURM/sbatch.log"
id=$(( $(cat "$FAKE_SLURM/last" 2>/dev/null || echo 0) + 1 ))
echo $id >"$FAKE_SLURM/last"
tasks=0 output=slurm-%j.out wrap=""
while [ $# -gt 0 ]; do
  case $1 in
    --array=1-*) tasks=${1#--array=1-} ;;
    --output=*) output=${1#--output=} ;;
    --wrap=*) wrap=${1#--wrap=} ;;
    --parsable|--wait|--*) ;;
    *) break ;;
  esac
  shift
done
if [ -n "$wrap" ]; then
  sh -c "$wrap" >"$output" 2>&1
else
  for task in $(seq "$tasks"); do
    out=$(echo "$output" | sed "s/%A/$id/; s/%a/$task/")
    SLURM_ARRAY_TASK_ID=$task sh "$@" >"$out" 2>&1
  done
fi
echo "$id"
)";

class FakeSlurm : public test::ScratchDir {
protected:
    void SetUp() override {
        ScratchDir::SetUp();
        const auto bin = dir / "bin";
        std::filesystem::create_directories(bin);
        auto script = [&](const char* name, const std::string& text) {
            std::ofstream(bin / name) << text;
            std::filesystem::permissions(bin / name, std::filesystem::perms::owner_all);
        };
        script("sbatch", fakeSbatch);
        script("squeue", "#!/bin/sh\nfor id in $(cat \"$FAKE_SLURM/queued\" 2>/dev/null); do\n"
                         "  case \" $* \" in *\"=$id \"*) echo RUNNING ;; esac\ndone\n");
        script("scancel", "#!/bin/sh\necho \"$*\" >>\"$FAKE_SLURM/scancel.log\"\n");
        script("scontrol", "#!/bin/sh\necho 'MaxArraySize            = 3'\n");
        path = std::getenv("PATH");
        ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
        ::setenv("FAKE_SLURM", dir.c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", path.c_str(), 1);
        ::unsetenv("FAKE_SLURM");
        ScratchDir::TearDown();
    }
    // The sweep of four runs, with `more` options after its own.
    test::Outcome sweep(const std::vector<std::string>& more, const char* folder) {
        std::vector<std::string> args = {"--out",   (dir / folder).string(), "--seeds", "1-2",  "--ticks",
                                         "300",     "--every",               "100",     "--auto", "5,20",
                                         "--scatter", "0:0:20"};
        args.insert(args.end(), more.begin(), more.end());
        return test::runMain(sweepMain, "vivarix-sweep", std::move(args));
    }
    std::string path;
};

TEST_F(FakeSlurm, TheTasksRunTheRunsAsGnuParallelWouldAndAGrownSweepRunsTheRestHere) {
    ASSERT_EQ(sweep({}, "here").status, 0);
    const test::Outcome o = sweep({"--slurm", "--runs-per-task", "1", "--slurm-options", "--partition=p  --time=5"},
                                  "slurm");
    ASSERT_EQ(o.status, 0) << o.err;
    for (const char* name : {"runs.csv", "summary.csv"})
        EXPECT_EQ(readFile(dir / "slurm" / name), readFile(dir / "here" / name)) << name;
    // The version's job first, then the array: 4 runs in at most 3 tasks of 2.
    const auto submitted = lines(readFile(dir / "sbatch.log"));
    ASSERT_EQ(submitted.size(), 2u);
    EXPECT_EQ(submitted[0].rfind("--parsable --partition=p --time=5 --wait --job-name=vivarix-sweep-version ", 0), 0u);
    EXPECT_EQ(submitted[1], "--parsable --partition=p --time=5 --job-name=vivarix-sweep --array=1-2 "
                            "--output=slurm/%A_%a.out slurm/task.sh slurm/1.runs 2");
    EXPECT_EQ(readFile(dir / "slurm" / "runs" / "4.end").substr(0, 2), "0 ");
    EXPECT_NE(readFile(dir / "slurm" / "sweep.json").find("\"slurm\": {\"jobs\": [\"2\"], \"options\": "
                                                          "[\"--partition=p\", \"--time=5\"]}"),
              std::string::npos);

    // Two more seeds here: only their four runs go to GNU parallel, whose job log
    // shows the others as done.
    const test::Outcome grown = sweep({"--seeds", "1-4"}, "slurm");  // the last --seeds counts
    ASSERT_EQ(grown.status, 0) << grown.err;
    const auto logged = lines(readFile(dir / "slurm" / "joblog"));
    ASSERT_EQ(logged.size(), 1u + 8);
    EXPECT_EQ(std::count_if(logged.begin(), logged.end(),
                            [](const std::string& line) { return line.find("\tvivarix-lab") != std::string::npos ||
                                                                 line.find("/vivarix-lab ") != std::string::npos; }),
              4);
    EXPECT_EQ(lines(readFile(dir / "slurm" / "runs.csv")).size(), 1u + 8 * 3);
}

TEST_F(FakeSlurm, QueuedRunsAreNeitherSubmittedAgainNorRunHere) {
    ASSERT_EQ(sweep({"--slurm", "--runs-per-task", "2"}, "s").status, 0);
    std::ofstream(dir / "queued") << "2\n";  // the array is "still queued"
    const test::Outcome here = sweep({}, "s");
    EXPECT_EQ(here.status, 2);
    EXPECT_NE(here.err.find("are queued or running in Slurm job 2; wait for it"), std::string::npos) << here.err;
    const test::Outcome later = sweep({"--slurm", "--no-wait"}, "s");
    EXPECT_EQ(later.status, 0);
    EXPECT_NE(later.out.find("still queued or running in Slurm job 2; nothing submitted"), std::string::npos);
    EXPECT_EQ(lines(readFile(dir / "sbatch.log")).size(), 2u);
    std::filesystem::remove(dir / "queued");
    EXPECT_EQ(test::runMain(sweepMain, "vivarix-sweep", {"--gather", (dir / "s").string()}).status, 0);
    EXPECT_EQ(lines(readFile(dir / "s" / "runs.csv")).size(), 1u + 4 * 3);
}

using TaskScript = test::ScratchDir;

TEST_F(TaskScript, RecordsEachRunsEndAndItsHost) {
    const auto folder = dir / "task";
    std::filesystem::create_directories(folder / "runs");
    std::ofstream(folder / "jobs") << "echo one\nexit 3\necho three; echo err >&2\n";
    std::ofstream(folder / "list") << "3\n2\n1\n";
    std::ofstream(folder / "task.sh") << slurmTaskScript();
    const std::string command = "cd '" + folder.string() + "' && SLURM_ARRAY_TASK_ID=1 sh task.sh list 2";
    EXPECT_NE(std::system(command.c_str()), 0);  // a run failed
    EXPECT_EQ(readFile(folder / "runs" / "3"), "three\n");
    EXPECT_EQ(readFile(folder / "runs" / "3.err"), "err\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "runs" / "1"));  // the second task's
    const std::vector<RunEnd> ends = readSlurmEnds(folder.string(), 3);
    EXPECT_FALSE(ends[0].logged);
    EXPECT_EQ(ends[1].exitValue, 3);
    EXPECT_TRUE(ends[2].logged && ends[2].exitValue == 0 && !ends[2].host.empty());
}

}  // namespace
}  // namespace vivarix::sweep

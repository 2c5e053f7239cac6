#include "sweep_slurm.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "sweep_process.h"
#include "sweep_record.h"

namespace vivarix::sweep {

namespace fs = std::filesystem;

std::string slurmTaskScript() {
    return "#!/bin/sh\n"
           "# One task of a vivarix-sweep job array, run in the sweep's folder:\n"
           "#   task.sh LIST RUNS-PER-TASK\n"
           "# runs the runs on its lines of LIST (folder numbers), each by its line of\n"
           "# jobs, and records each run's end in runs/N.end as \"EXIT-STATUS HOST\".\n"
           "list=$1\n"
           "per=$2\n"
           "first=$(( (SLURM_ARRAY_TASK_ID - 1) * per + 1 ))\n"
           "status=0\n"
           "for run in $(sed -n \"${first},$((first + per - 1))p\" \"$list\"); do\n"
           "  rm -f \"runs/$run.end\"\n"
           "  sh -c \"$(sed -n \"${run}p\" jobs)\" </dev/null >\"runs/$run\" 2>\"runs/$run.err\"\n"
           "  code=$?\n"
           "  printf '%s %s\\n' \"$code\" \"$(hostname)\" >\"runs/$run.end.part\" &&\n"
           "    mv \"runs/$run.end.part\" \"runs/$run.end\"\n"
           "  [ \"$code\" -eq 0 ] || status=1\n"
           "done\n"
           "exit $status\n";
}

std::vector<RunEnd> readSlurmEnds(const std::string& out, std::size_t runs) {
    std::vector<RunEnd> ends(runs);
    for (std::size_t n = 1; n <= runs; ++n) {
        std::ifstream file(fs::path(out) / (runFile(n) + ".end"));
        int code = 0;
        std::string host;
        if (!(file >> code >> host)) continue;
        // The shell reports a run ended by signal S as 128 + S.
        ends[n - 1] = code > 128 ? RunEnd{true, 0, code - 128, host} : RunEnd{true, code, 0, host};
    }
    return ends;
}

namespace {

std::string firstLineOf(const std::string& text) { return text.substr(0, text.find('\n')); }

// Whether squeue answers that it knows none of the jobs.
bool purged(const Captured& c) { return c.status != 0 && c.err.find("Invalid job id") != std::string::npos; }

std::vector<std::string> sbatchCommand(const Plan& plan, std::vector<std::string> own) {
    std::vector<std::string> command = {"sbatch", "--parsable"};
    command.insert(command.end(), plan.slurmOptions.begin(), plan.slurmOptions.end());
    command.insert(command.end(), own.begin(), own.end());
    return command;
}

// The job id sbatch --parsable printed ("12" or "12;cluster"), or "".
std::string jobId(const Captured& c) {
    const std::string line = firstLineOf(c.out);
    const std::string id = line.substr(0, line.find(';'));
    return c.status == 0 && !id.empty() && id.find_first_not_of("0123456789") == std::string::npos ? id : "";
}

// The most tasks one array may have, from the cluster's MaxArraySize.
std::size_t maxArrayTasks() {
    const Captured c = capture({"scontrol", "show", "config"});
    std::istringstream lines(c.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("MaxArraySize", 0) != 0) continue;
        const auto value = lab::parseUnsigned(line.substr(line.find_last_of(' ') + 1));
        if (value && *value > 1) return static_cast<std::size_t>(*value - 1);
    }
    return 1000;  // Slurm's default MaxArraySize is 1001
}

}  // namespace

std::string queuedJobs(const std::string& out) {
    std::ifstream file(fs::path(out) / "slurm" / "jobs");
    std::string queued;
    if (!findProgram("squeue")) return queued;
    for (std::string id; std::getline(file, id);) {
        const Captured c = capture({"squeue", "--noheader", "--format=%A", "--jobs=" + id});
        if (c.status == 0 && !c.out.empty()) queued += (queued.empty() ? "" : ", ") + id;
    }
    return queued;
}

std::string slurmLabVersion(const Plan& plan, const std::string& lab) {
    fs::create_directories(fs::path(plan.out) / "slurm");
    const Captured c = capture(sbatchCommand(plan, {"--wait", "--job-name=vivarix-sweep-version",
                                                    "--output=slurm/version.out",
                                                    "--wrap=exec " + shellQuoted(lab) + " --version"}),
                               plan.out);
    if (jobId(c).empty()) return "!sbatch failed (" + describeStatus(c.status) + "): " + firstLineOf(c.err);
    std::ifstream file(fs::path(plan.out) / "slurm" / "version.out");
    std::string line;
    std::getline(file, line);
    return line;
}

Submission submitRuns(const Plan& plan, const std::vector<std::size_t>& numbers) {
    Submission submission;
    const fs::path slurm = fs::path(plan.out) / "slurm";
    std::error_code error;
    fs::create_directories(slurm, error);
    std::size_t count = 1;
    {
        std::ifstream jobs(slurm / "jobs");
        for (std::string line; std::getline(jobs, line);) count += 1;
    }
    const std::string list = "slurm/" + std::to_string(count) + ".runs";
    {
        std::ofstream script(slurm / "task.sh", std::ios::binary), runs(fs::path(plan.out) / list, std::ios::binary);
        script << slurmTaskScript();
        for (const std::size_t n : numbers) runs << n << "\n";
        if (!script.flush() || !runs.flush()) {
            submission.error = "cannot write " + plan.out + "/" + list;
            return submission;
        }
    }
    std::size_t perTask = runsPerTask(plan);
    const std::size_t most = maxArrayTasks();
    if ((numbers.size() + perTask - 1) / perTask > most) perTask = (numbers.size() + most - 1) / most;
    const std::size_t tasks = (numbers.size() + perTask - 1) / perTask;
    const Captured c = capture(sbatchCommand(plan, {"--job-name=vivarix-sweep",
                                                    "--array=1-" + std::to_string(tasks), "--output=slurm/%A_%a.out",
                                                    "slurm/task.sh", list, std::to_string(perTask)}),
                               plan.out);
    submission.job = jobId(c);
    submission.perTask = perTask;
    if (submission.job.empty()) {
        submission.error = "sbatch failed (" + describeStatus(c.status) + "): " + firstLineOf(c.err + c.out);
        return submission;
    }
    std::ofstream jobs(slurm / "jobs", std::ios::app);
    jobs << submission.job << "\n";
    return submission;
}

std::string waitForJobs(const Plan& plan, const std::string& ids, std::size_t runs, std::ostream& err) {
    std::string jobs = ids;
    for (std::size_t at; (at = jobs.find(", ")) != std::string::npos;) jobs.replace(at, 2, ",");
    const bool terminal = ::isatty(2);
    std::string shown;
    auto lastShown = std::chrono::steady_clock::now();
    bool cancelled = false;
    for (int failures = 0;;) {
        if (Interrupts::received() && !cancelled) {
            std::vector<std::string> scancel = {"scancel"};
            for (const std::string_view id : lab::splitAt(jobs, ',')) scancel.emplace_back(id);
            capture(scancel);
            cancelled = true;
        }
        const Captured c = capture({"squeue", "--noheader", "--array", "--format=%T", "--jobs=" + jobs});
        if (purged(c) || (c.status == 0 && c.out.empty())) break;
        if (c.status != 0) {
            // The controller may be restarting: give it a minute.
            if (++failures == 30) return "squeue failed: " + firstLineOf(c.err);
            pause(2000);
            continue;
        }
        failures = 0;
        std::map<std::string, std::size_t> states;
        std::istringstream lines(c.out);
        for (std::string state; std::getline(lines, state);) states[state] += 1;
        std::size_t finished = 0;
        for (std::size_t n = 1; n <= runs; ++n) finished += fs::exists(fs::path(plan.out) / (runFile(n) + ".end"));
        std::string text = "Slurm job " + ids + ":";
        for (const auto& [state, count] : states) text += " " + std::to_string(count) + " " + state + ",";
        text += " " + std::to_string(finished) + " of " + std::to_string(runs) + " runs ended";
        const auto now = std::chrono::steady_clock::now();
        if (!cancelled && text != shown && (terminal || now - lastShown > std::chrono::seconds(30))) {
            err << (terminal ? "\r\033[K" : "") << "vivarix-sweep: " << text << (terminal ? "" : "\n") << std::flush;
            shown = text;
            lastShown = now;
        }
        pause(cancelled ? 500 : 2000);
    }
    if (terminal && !shown.empty()) err << "\n";
    return {};
}

}  // namespace vivarix::sweep

#include "sweep_main.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "sweep_gather.h"
#include "sweep_plot.h"
#include "sweep_process.h"

namespace vivarix::sweep {

namespace fs = std::filesystem;

std::vector<RunEnd> readJobLog(const std::string& path, std::size_t runs) {
    std::vector<RunEnd> ends(runs);
    std::ifstream log(path);
    std::string line;
    std::getline(log, line);  // Seq Host Starttime JobRuntime Send Receive Exitval Signal Command
    while (std::getline(log, line)) {
        std::vector<std::string> fields;
        std::istringstream columns(line);
        for (std::string field; fields.size() < 8 && std::getline(columns, field, '\t');) fields.push_back(field);
        if (fields.size() < 8) continue;  // a line cut by an interruption
        try {
            const std::size_t seq = std::stoul(fields[0]);
            if (seq < 1 || seq > runs) continue;
            ends[seq - 1] = {true, std::stoi(fields[6]), std::stoi(fields[7]), fields[1]};
        } catch (const std::exception&) {
            continue;
        }
    }
    return ends;
}

namespace {

std::string shellQuoted(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./:=,+-@%") ==
            std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
    return text;
}

// The swept values and the seed of a run, as a failure report names them.
std::string runParameters(const Plan& plan, std::size_t run) {
    std::string text;
    const std::vector<std::size_t> values = combinationValues(plan, run / plan.seeds.size());
    for (std::size_t d = 0; d < plan.dimensions.size(); ++d)
        text += plan.dimensions[d].option + " " + plan.dimensions[d].values[values[d]] + " ";
    return text + "--seed " + std::to_string(plan.seeds[run % plan.seeds.size()]);
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The marker of the sweep's folder: every run's command line.
std::string sweepRecord(const Plan& plan) {
    std::string text = "vivarix-sweep: the runs of this folder; the same sweep again resumes them\n";
    for (std::size_t run = 0; run < runCount(plan); ++run) text += joined(runArguments(plan, run)) + "\n";
    return text;
}

// Makes the folder ready: new or empty, or holding this very sweep.  Returns the
// reason it cannot be used.
std::string prepareFolder(const Plan& plan) {
    const std::string record = sweepRecord(plan);
    const fs::path dir = plan.out;
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_directory(dir, error)) return plan.out + " is not a folder";
    if (fs::exists(dir / "sweep", error)) {
        std::ifstream in(dir / "sweep", std::ios::binary);
        const std::string theirs(std::istreambuf_iterator<char>(in), {});
        if (theirs != record)
            return plan.out + " holds the results of another sweep (its runs differ); choose another --out";
        return {};
    }
    if (fs::exists(dir, error) && !fs::is_empty(dir, error))
        return plan.out + " is not empty and holds no sweep; choose a new or empty folder";
    fs::create_directories(dir / "runs", error);
    std::ofstream out(dir / "sweep", std::ios::binary);
    out << record;
    if (error || !out.flush()) return "cannot create " + plan.out;
    return {};
}

// Holds the folder for this process: a lock on its sweep file, which the system
// lets go when the process ends however it ends.
class FolderLock {
public:
    explicit FolderLock(const std::string& out) : fd_(::open((out + "/sweep").c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool taken() { return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0; }

private:
    int fd_;
};

// The vivarix-lab the runs start: --lab, else the one beside this program, else
// (and always on other machines) vivarix-lab on the PATH.
std::string labProgram(const Plan& plan) {
    if (plan.lab) return plan.lab->find('/') == std::string::npos ? *plan.lab : fs::absolute(*plan.lab).string();
    if (plan.hosts) return "vivarix-lab";
    const std::string self = ownExecutable();
    if (!self.empty()) {
        const fs::path beside = fs::path(self).parent_path() / "vivarix-lab";
        if (::access(beside.c_str(), X_OK) == 0) return beside.string();
    }
    return "vivarix-lab";
}

}  // namespace

std::string jobLine(const Plan& plan, const std::string& lab, std::size_t run) {
    std::string line = shellQuoted(lab);
    for (const std::string& a : runArguments(plan, run)) line += " " + shellQuoted(a);
    return line;
}

int sweepMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const PlanResult parsed = parsePlan(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    auto refuse = [&](const std::string& why) {
        err << "vivarix-sweep: " << why << "\n";
        return 2;
    };
    if (!parsed.error.empty()) return refuse(parsed.error);
    const Plan& plan = parsed.plan;
    if (plan.help) {
        out << sweepUsage();
        return 0;
    }
    const auto parallel = findProgram("parallel");
    if (!parallel) return refuse("GNU parallel is not installed (Debian package parallel)");
    if (plan.hosts && ::access(plan.hosts->c_str(), R_OK) != 0) return refuse("--hosts: cannot read " + *plan.hosts);
    const std::string lab = labProgram(plan);
    if (!plan.hosts && !findProgram(lab))
        return refuse(plan.lab ? "--lab: " + lab + " is not an executable program" : "vivarix-lab is not on the PATH");
    if (std::string why = prepareFolder(plan); !why.empty()) return refuse(why);
    FolderLock lock(plan.out);
    if (!lock.taken()) return refuse(plan.out + " is in use by another vivarix-sweep");

    const std::size_t runs = runCount(plan);
    const std::string jobs = plan.out + "/jobs";
    {
        std::string text;
        for (std::size_t run = 0; run < runs; ++run) text += jobLine(plan, lab, run) + "\n";
        std::ofstream file(jobs, std::ios::binary);
        file << text;
        if (!file.flush()) return refuse("cannot write " + jobs);
    }
    std::vector<std::string> command = {
        *parallel,   "--will-cite",         "--joblog", plan.out + "/joblog", "--resume-failed",
        "--results", plan.out + "/runs/{#}"};
    if (plan.jobs) command.insert(command.end(), {"--jobs", std::to_string(*plan.jobs)});
    if (plan.hosts) command.insert(command.end(), {"--sshloginfile", *plan.hosts});
    if (::isatty(2)) command.push_back("--bar");
    out.flush();
    const int parallelStatus = runProgram(command, jobs, "/dev/null");

    const std::vector<RunEnd> ends = readJobLog(plan.out + "/joblog", runs);
    std::vector<bool> finished(runs, false);
    std::size_t failed = 0, missing = 0;
    for (std::size_t run = 0; run < runs; ++run) {
        const RunEnd& end = ends[run];
        finished[run] = end.logged && end.exitValue == 0 && end.signal == 0;
        if (!end.logged) {
            missing += 1;
        } else if (!finished[run]) {
            failed += 1;
            const std::string why = firstLine(runOutputPath(plan, run) + ".err");
            err << "vivarix-sweep: run " << run + 1 << " (" << runParameters(plan, run) << ") failed"
                << (end.host == ":" ? "" : " on " + end.host)
                << (end.signal ? ", ended by signal " + std::to_string(end.signal)
                               : " with exit status " + std::to_string(end.exitValue))
                << (why.empty() ? "" : ": " + why) << "\n";
        }
    }
    if (missing > 0)
        err << "vivarix-sweep: " << missing << " of " << runs << " runs did not finish (GNU parallel ended with "
            << describeStatus(parallelStatus) << "); the same command again runs them\n";

    const Gathered gathered = gather(plan, finished);
    for (const std::string& line : gathered.refused) err << "vivarix-sweep: " << line << "\n";
    std::size_t count = 0;
    for (const bool g : gathered.gathered) count += g ? 1 : 0;
    bool ok = failed == 0 && missing == 0 && gathered.refused.empty();
    if (!gathered.error.empty()) {
        err << "vivarix-sweep: " << gathered.error << "\n";
        ok = false;
    }
    if (const std::string why = drawPopulation(plan, gathered.summary); !why.empty()) {
        err << "vivarix-sweep: " << why << "\n";
        ok = false;
    }
    out << plan.out << ": " << count << " of " << runs
        << " runs gathered in runs.csv, summary.csv and population.png\n";
    return ok ? 0 : 1;
}

}  // namespace vivarix::sweep

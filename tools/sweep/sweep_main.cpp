#include "sweep_main.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "platform/core/version.h"
#include "sweep_gather.h"
#include "sweep_plot.h"
#include "sweep_process.h"
#include "sweep_provenance.h"
#include "sweep_record.h"
#include "sweep_slurm.h"

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

std::string jobLine(const Plan& plan, const std::string& lab, std::size_t run, std::size_t number) {
    std::string line = shellQuoted(lab);
    for (const std::string& a : runArguments(plan, run)) line += " " + shellQuoted(a);
    if (plan.creaturesEvery)
        line += " --creatures-every " + std::to_string(*plan.creaturesEvery) + " " + runFile(number) + ".creatures.csv";
    return line;
}

namespace {

bool succeeded(const RunEnd& end) { return end.logged && end.exitValue == 0 && end.signal == 0; }

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

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

// How each run of the folder ended, from parallel's job log and the Slurm tasks'
// end records: a success in either counts, else the failure either tells.
std::vector<RunEnd> runEnds(const Plan& plan, std::size_t runs) {
    std::vector<RunEnd> ends = readJobLog(plan.out + "/joblog", runs);
    const std::vector<RunEnd> slurm = readSlurmEnds(plan.out, runs);
    for (std::size_t n = 0; n < runs; ++n)
        if (succeeded(slurm[n]) || (!ends[n].logged && slurm[n].logged)) ends[n] = slurm[n];
    return ends;
}

// One sweep on its folder, from the lock to the gathered results.
class Sweep {
public:
    Sweep(Plan plan, std::ostream& out, std::ostream& err) : plan_(std::move(plan)), out_(out), err_(err) {}

    int run(const std::vector<std::string>& argv);
    int gatherOnly(const std::vector<std::string>& argv);

private:
    int refuse(const std::string& why) {
        err_ << "vivarix-sweep: " << why << "\n";
        return 2;
    }
    std::string writeJobs(const std::string& lab);
    void runParallel(const std::string& parallel);
    // The folder's runs without a result, by number.
    std::vector<std::size_t> unfinished() const;
    // "" when the Slurm nodes run this version of vivarix-lab, else why not.
    std::string checkSlurmVersion(const std::string& lab);
    // Submits the runs `pending`, then (unless --no-wait) waits and finishes.
    int runSlurm(const std::vector<std::size_t>& pending);
    int finish();

    Plan plan_;
    std::ostream& out_;
    std::ostream& err_;
    FolderLock lock_;
    Folder folder_;
    Provenance provenance_;
    std::vector<std::string> earlier_;
    std::string stopped_;                     // how the runs were cut short, for the message
    std::vector<std::pair<Submission, std::vector<std::size_t>>> submitted_;  // with their runs
};

std::string Sweep::writeJobs(const std::string& lab) {
    std::string text;
    for (const std::size_t run : folder_.run) text += jobLine(plan_, lab, run, folder_.number[run]) + "\n";
    std::ofstream file(plan_.out + "/jobs", std::ios::binary);
    file << text;
    return file.flush() ? "" : "cannot write " + plan_.out + "/jobs";
}

void Sweep::runParallel(const std::string& parallel) {
    const std::size_t runs = folder_.run.size();
    // Runs a Slurm task finished are done: the job log says so, so that
    // --resume-failed passes them by.
    const std::vector<RunEnd> logged = readJobLog(plan_.out + "/joblog", runs);
    const std::vector<RunEnd> slurm = readSlurmEnds(plan_.out, runs);
    std::string done;
    for (std::size_t n = 0; n < runs; ++n)
        if (succeeded(slurm[n]) && !succeeded(logged[n])) done += std::to_string(n + 1) + "\t:\t0\t0\t0\t0\t0\t0\tslurm\n";
    if (!done.empty()) {
        const bool fresh = !fs::exists(plan_.out + "/joblog");
        std::ofstream log(plan_.out + "/joblog", std::ios::app);
        if (fresh) log << "Seq\tHost\tStarttime\tJobRuntime\tSend\tReceive\tExitval\tSignal\tCommand\n";
        log << done;
    }
    // Every path parallel reads is relative to the folder, where it runs, so that
    // none holds a character of the folder's name that parallel would expand.
    std::vector<std::string> command = {parallel,    "--will-cite",     "--joblog", "joblog", "--resume-failed",
                                        "--results", "runs/{#}"};
    if (plan_.jobs) command.insert(command.end(), {"--jobs", std::to_string(*plan_.jobs)});
    if (plan_.hosts) command.insert(command.end(), {"--sshloginfile", fs::absolute(*plan_.hosts).string()});
    if (::isatty(2)) command.push_back("--bar");
    out_.flush();
    // In a session of its own, so that no run outlives an interrupted parallel.
    const int status = runProgram(command, {plan_.out + "/jobs", "/dev/null", plan_.out, true});
    stopped_ = "GNU parallel ended with " + describeStatus(status);
}

std::vector<std::size_t> Sweep::unfinished() const {
    const std::size_t runs = folder_.run.size();
    const std::vector<RunEnd> ends = runEnds(plan_, runs);
    std::vector<std::size_t> numbers;
    for (std::size_t n = 0; n < runs; ++n)
        if (!succeeded(ends[n])) numbers.push_back(n + 1);
    return numbers;
}

std::string Sweep::checkSlurmVersion(const std::string& lab) {
    const std::string version = slurmLabVersion(plan_, lab);
    if (version == expectedLabVersion()) return {};
    return "the Slurm nodes' " + lab + " --version " +
           (version.rfind('!', 0) == 0 ? "could not be asked: " + version.substr(1) : "says " + version) + ", not " +
           expectedLabVersion();
}

int Sweep::runSlurm(const std::vector<std::size_t>& pending) {
    Submission submission = submitRuns(plan_, pending);
    if (!submission.error.empty()) return refuse(submission.error);
    provenance_.slurmJobs.push_back(submission.job);
    submitted_.emplace_back(submission, pending);
    if (plan_.noWait) {
        if (const std::string why = writeProvenance(plan_, provenance_, earlier_); !why.empty())
            err_ << "vivarix-sweep: " << why << "\n";
        out_ << plan_.out << ": Slurm job " << submission.job << " submitted; vivarix-sweep --gather " << plan_.out
             << " gathers it when it has finished\n";
        return 0;
    }
    if (const std::string why = waitForJobs(plan_, submission.job, folder_.run.size(), err_); !why.empty())
        err_ << "vivarix-sweep: " << why << "; vivarix-sweep --gather " << plan_.out << " gathers later\n";
    return finish();
}

// Tells how the runs ended, gathers and draws them, and completes sweep.json.
int Sweep::finish() {
    const std::size_t runs = folder_.run.size();
    const std::vector<RunEnd> ends = runEnds(plan_, runs);
    std::vector<bool> finished(runs, false);
    std::size_t failed = 0, missing = 0;
    const int signal = Interrupts::received();
    for (std::size_t n = 0; n < runs; ++n) {
        const RunEnd& end = ends[n];
        finished[n] = succeeded(end);
        const std::size_t run = folder_.run[n];
        if (!end.logged) {
            missing += 1;
            // A run a Slurm task was given and did not end is named with its task,
            // unless the sweep itself cancelled it.
            for (const auto& [submission, numbers] : signal ? decltype(submitted_){} : submitted_)
                for (std::size_t i = 0; i < numbers.size(); ++i)
                    if (numbers[i] == n + 1) {
                        const std::string task = submission.job + "_" + std::to_string(i / submission.perTask + 1);
                        err_ << "vivarix-sweep: run " << run + 1 << " (" << runParameters(plan_, run)
                             << ") did not finish in Slurm task " << task << " (" << plan_.out << "/slurm/" << task
                             << ".out)\n";
                    }
        } else if (!finished[n]) {
            failed += 1;
            const std::string why = firstLine(plan_.out + "/" + runFile(n + 1) + ".err");
            err_ << "vivarix-sweep: run " << run + 1 << " (" << runParameters(plan_, run) << ") failed"
                 << (end.host == ":" ? "" : " on " + end.host)
                 << (end.signal ? ", ended by signal " + std::to_string(end.signal)
                                : " with exit status " + std::to_string(end.exitValue))
                 << (why.empty() ? "" : ": " + why) << "\n";
        }
    }
    if (signal)
        err_ << "vivarix-sweep: stopped by " << (signal == SIGINT ? "SIGINT" : "SIGTERM") << ": " << runs - missing
             << " of " << runs << " runs ended; the same command again runs the others\n";
    else if (missing > 0)
        err_ << "vivarix-sweep: " << missing << " of " << runs << " runs did not finish"
             << (stopped_.empty() ? "" : " (" + stopped_ + ")") << "; the same command again runs them\n";

    const Gathered gathered = gather(plan_, folder_, finished);
    for (const std::string& line : gathered.refused) err_ << "vivarix-sweep: " << line << "\n";
    std::size_t count = 0;
    for (const bool g : gathered.gathered) count += g ? 1 : 0;
    bool ok = failed == 0 && missing == 0 && gathered.refused.empty();
    if (!gathered.error.empty()) {
        err_ << "vivarix-sweep: " << gathered.error << "\n";
        ok = false;
    }
    if (const std::string why = drawFigures(plan_, gathered.summary); !why.empty()) {
        err_ << "vivarix-sweep: " << why << "\n";
        ok = false;
    }
    provenance_.end = utcNow();
    provenance_.done = count;
    provenance_.failed = failed;
    if (const std::string why = writeProvenance(plan_, provenance_, earlier_); !why.empty()) {
        err_ << "vivarix-sweep: " << why << "\n";
        ok = false;
    }
    out_ << plan_.out << ": " << count << " of " << runs << " runs gathered in runs.csv, summary.csv"
         << (plan_.creaturesEvery ? ", creatures.csv.gz" : "") << " and the pictures\n";
    if (signal) return 128 + signal;
    return ok ? 0 : 1;
}

int Sweep::run(const std::vector<std::string>& argv) {
    std::optional<std::string> parallel;
    if (plan_.slurm) {
        for (const char* tool : {"sbatch", "squeue", "scancel"})
            if (!findProgram(tool)) return refuse(std::string("--slurm: ") + tool + " is not on the PATH");
    } else {
        parallel = findProgram("parallel");
        if (!parallel) return refuse("GNU parallel is not installed (Debian package parallel)");
    }
    if (plan_.hosts) {
        if (::access(plan_.hosts->c_str(), R_OK) != 0) return refuse("--hosts: cannot read " + *plan_.hosts);
        provenance_.hosts = hostLines(*plan_.hosts);
        if (provenance_.hosts.empty()) return refuse("--hosts: " + *plan_.hosts + " names no machine");
    }
    const std::string lab = labProgram(plan_);
    if (!plan_.hosts && !plan_.slurm && !findProgram(lab))
        return refuse(plan_.lab ? "--lab: " + lab + " is not an executable program" : "vivarix-lab is not on the PATH");
    if (!plan_.slurm)
        if (const std::string why = checkLabVersions(plan_, lab, *parallel); !why.empty()) return refuse(why);
    if (const std::string why = openFolder(plan_, lock_, folder_); !why.empty()) return refuse(why);

    const std::string queued = fs::exists(plan_.out + "/slurm/jobs") ? queuedJobs(plan_.out) : "";
    if (!queued.empty()) {
        if (!plan_.slurm)
            return refuse("runs of " + plan_.out + " are queued or running in Slurm job " + queued +
                          "; wait for it or cancel it (scancel)");
        if (plan_.noWait) {
            out_ << plan_.out << ": runs are still queued or running in Slurm job " << queued
                 << "; nothing submitted\n";
            return 0;
        }
        waitForJobs(plan_, queued, folder_.run.size(), err_);
    }
    if (const std::string why = writeJobs(lab); !why.empty()) return refuse(why);
    const std::vector<std::size_t> pending = plan_.slurm ? unfinished() : std::vector<std::size_t>{};
    if (!pending.empty())
        if (const std::string why = checkSlurmVersion(lab); !why.empty()) return refuse(why);
    provenance_.command = argv;
    provenance_.start = utcNow();
    provenance_.runs = folder_.run.size();
    provenance_.added = folder_.added;
    earlier_ = readEarlier(plan_.out);
    if (const std::string why = writeProvenance(plan_, provenance_, earlier_); !why.empty()) return refuse(why);

    if (Interrupts::received()) return finish();
    if (!plan_.slurm) {
        runParallel(*parallel);
        return finish();
    }
    return pending.empty() ? finish() : runSlurm(pending);
}

int Sweep::gatherOnly(const std::vector<std::string>& argv) {
    if (const std::string why = openFolder(plan_, lock_, folder_); !why.empty()) return refuse(why);
    const std::string queued = fs::exists(plan_.out + "/slurm/jobs") ? queuedJobs(plan_.out) : "";
    if (!queued.empty())
        err_ << "vivarix-sweep: runs of " << plan_.out << " are still queued or running in Slurm job " << queued
             << "; gathering what has finished\n";
    provenance_.command = argv;
    provenance_.start = utcNow();
    provenance_.runs = folder_.run.size();
    std::ifstream jobs(plan_.out + "/slurm/jobs");
    for (std::string id; std::getline(jobs, id);) provenance_.slurmJobs.push_back(id);
    earlier_ = readEarlier(plan_.out);
    return finish();
}

}  // namespace

int sweepMain(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> words(argv, argv + argc);
    const PlanResult parsed = parsePlan(std::vector<std::string>(words.begin() + (argc > 0 ? 1 : 0), words.end()));
    auto refuse = [&](const std::string& why) {
        err << "vivarix-sweep: " << why << "\n";
        return 2;
    };
    if (!parsed.error.empty()) return refuse(parsed.error);
    if (parsed.plan.help) {
        out << sweepUsage();
        return 0;
    }
    if (parsed.plan.version) {
        out << versionLine("vivarix-sweep");
        return 0;
    }
    Interrupts interrupts;
    if (parsed.plan.gather) {
        const std::string dir = *parsed.plan.gather;
        const std::vector<std::string> recorded = recordedCommand(dir);
        PlanResult made = parsePlan(recorded);
        if (recorded.empty() || !made.error.empty() || made.plan.gather)
            return refuse("--gather: " + dir + " holds no sweep's command" +
                          (made.error.empty() || recorded.empty() ? "" : " (" + made.error + ")"));
        made.plan.out = dir;
        made.plan.log = made.plan.log || parsed.plan.log;
        made.plan.command = recorded;
        return Sweep(std::move(made.plan), out, err).gatherOnly(words);
    }
    return Sweep(parsed.plan, out, err).run(words);
}

}  // namespace vivarix::sweep

#include "sweep_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace vivarix::sweep {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;  // the first
volatile std::sig_atomic_t lastSignal = 0;
volatile std::sig_atomic_t signalCount = 0;
volatile pid_t waitingFor = 0;  // the child runProgram waits for; 0: none

void onInterrupt(int signal) {
    if (receivedSignal == 0) receivedSignal = signal;
    lastSignal = signal;
    signalCount = signalCount + 1;
    if (const pid_t child = waitingFor; child > 0) ::kill(child, signal);
}

// The processes of session `session`, from /proc.
std::vector<pid_t> sessionProcesses(pid_t session) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        std::getline(stat, text);
        // pid (comm) state ppid pgrp session ...; comm may hold blanks and parentheses.
        std::istringstream fields(text.substr(text.rfind(')') + 1));
        std::string state;
        long ppid = 0, group = 0, of = 0;
        if (fields >> state >> ppid >> group >> of && of == session && state != "Z")
            found.push_back(static_cast<pid_t>(std::stol(name)));
    }
    return found;
}

// Stops what is left of session `session`.
void stopSession(pid_t session) {
    std::vector<pid_t> left = sessionProcesses(session);
    for (const pid_t pid : left) ::kill(pid, SIGTERM);
    for (int wait = 0; wait < 20 && !left.empty(); ++wait) {
        pause(50);
        left = sessionProcesses(session);
    }
    for (const pid_t pid : left) ::kill(pid, SIGKILL);
}

// Spawns argv with the file actions and waits for it; an interrupt that came
// before the child existed is passed on as soon as it does.  With `captured`,
// reads pipes[0] into its out and pipes[1] into its err; pipes[2] and pipes[3],
// their write ends, are the child's only.
int spawnAndWait(const std::vector<std::string>& argv, posix_spawn_file_actions_t& actions, const int* pipes,
                 Captured* captured, bool ownSession = false) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The child's handlers start as this process's; default them again in it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | (ownSession ? POSIX_SPAWN_SETSID : 0));
    pid_t pid = 0;
    const std::sig_atomic_t signalsBefore = signalCount;
    const int spawned = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (captured) {
        ::close(pipes[2]);
        ::close(pipes[3]);
        if (spawned != 0) {
            ::close(pipes[0]);
            ::close(pipes[1]);
        }
    }
    if (spawned != 0) return -1;
    waitingFor = pid;
    if (signalCount != signalsBefore) ::kill(pid, lastSignal);

    if (captured) {
        // Both pipes until they close, then the child.
        std::string* sinks[2] = {&captured->out, &captured->err};
        pollfd fds[2] = {{pipes[0], POLLIN, 0}, {pipes[1], POLLIN, 0}};
        for (int open = 2; open > 0;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                char buffer[4096];
                const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                    open -= 1;
                }
            }
        }
    }
    // Once interrupted, the signal goes again every second: a program may let one
    // pass while it starts (GNU parallel does).
    int status = -1;
    for (int polls = 0;;) {
        const bool interrupted = signalCount != signalsBefore;
        const pid_t ended = ::waitpid(pid, &status, interrupted ? WNOHANG : 0);
        if (ended == pid || (ended < 0 && errno != EINTR)) break;
        if (ended == 0) {
            pause(100);
            if (++polls % 10 == 0) ::kill(pid, lastSignal);
        }
    }
    waitingFor = 0;
    if (ownSession) stopSession(pid);
    return status;
}

}  // namespace

std::optional<std::string> findProgram(const std::string& program) {
    auto executable = [](const std::string& path) { return ::access(path.c_str(), X_OK) == 0; };
    if (program.find('/') != std::string::npos) return executable(program) ? std::optional(program) : std::nullopt;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string dir(rest.substr(0, colon));
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (executable(candidate) && !std::filesystem::is_directory(candidate)) return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

int runProgram(const std::vector<std::string>& argv, const Start& start) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, start.input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, start.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!start.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, start.folder.c_str());
    const int status = spawnAndWait(argv, actions, nullptr, nullptr, start.ownSession);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

Captured capture(const std::vector<std::string>& argv, const std::string& folder) {
    Captured captured;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return captured;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return captured;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    const int pipes[4] = {out[0], err[0], out[1], err[1]};
    captured.status = spawnAndWait(argv, actions, pipes, &captured);
    posix_spawn_file_actions_destroy(&actions);
    return captured;
}

std::string shellQuoted(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./:=,+-@%") ==
            std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string describeStatus(int status) {
    if (status == -1) return "could not be started";
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "exit status " + std::to_string(WEXITSTATUS(status));
}

std::string ownExecutable() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

Interrupts::Interrupts() {
    receivedSignal = 0;
    signalCount = 0;
    struct sigaction handler {};
    handler.sa_handler = onInterrupt;
    sigemptyset(&handler.sa_mask);
    sigaction(SIGINT, &handler, &oldInt_);
    sigaction(SIGTERM, &handler, &oldTerm_);
}

Interrupts::~Interrupts() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
}

int Interrupts::received() { return receivedSignal; }

void pause(int milliseconds) {
    const timespec wait{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    ::nanosleep(&wait, nullptr);
}

}  // namespace vivarix::sweep

#include "sweep_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace vivarix::sweep {

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

namespace {
void ignoreInterrupt(int) {}
}  // namespace

int runProgram(const std::vector<std::string>& argv, const std::string& input, const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // While the program runs, an interrupt only wakes this process up: the
    // program (which gets the signal too) decides how to stop, and the caller
    // then reports what finished.  Handlers are reset to the default in the child.
    struct sigaction quiet {
    }, oldInt{}, oldTerm{};
    quiet.sa_handler = ignoreInterrupt;
    sigemptyset(&quiet.sa_mask);
    sigaction(SIGINT, &quiet, &oldInt);
    sigaction(SIGTERM, &quiet, &oldTerm);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = -1;
    if (spawned == 0)
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    return spawned == 0 ? status : -1;
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

}  // namespace vivarix::sweep

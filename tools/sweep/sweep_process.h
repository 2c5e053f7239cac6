// Starting the programs a sweep uses (GNU parallel, gnuplot, the Slurm commands)
// and waiting for them; SIGINT and SIGTERM while the sweep runs.
#pragma once

#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace vivarix::sweep {

// The path of `program` when it is an executable file on the PATH (or `program`
// itself when it holds a slash and is executable).
std::optional<std::string> findProgram(const std::string& program);

// How a program is started: standard input and output from and to files (paths
// relative to the caller's folder), and the folder it runs in.
struct Start {
    std::string input = "/dev/null";
    std::string output = "/dev/null";
    std::string folder;        // empty: the caller's
    bool ownSession = false;   // see runProgram
};

// Runs argv[0] (looked up on the PATH) as `start` says; standard error is the
// caller's.  Waits for it.  A SIGINT or SIGTERM that reaches the caller meanwhile
// (see Interrupts) is passed on to the program, which stops its own children.
// With start.ownSession the program leads a session of its own, which the
// terminal's Ctrl-C does not reach (the caller passes it on), and whatever of
// that session is left when it has ended is stopped: SIGTERM, and SIGKILL for
// what is still there a second later.  Returns its wait status, or -1 when it
// could not be started.
int runProgram(const std::vector<std::string>& argv, const Start& start = {});

// What a program wrote, and how it ended.
struct Captured {
    int status = -1;  // as runProgram
    std::string out;
    std::string err;
};

// Runs argv[0] with no input and returns what it wrote on standard output and
// standard error; as runProgram otherwise.
Captured capture(const std::vector<std::string>& argv, const std::string& folder = {});

// `word` as one word for the shell: as it is when it holds only characters the
// shell takes literally, else in single quotes.
std::string shellQuoted(const std::string& word);

// "exit status N", "signal N" or "could not be started".
std::string describeStatus(int status);

// The program's own executable, from /proc/self/exe; empty when unknown.
std::string ownExecutable();

// While one exists, SIGINT and SIGTERM do not end this process: the first one is
// remembered, and each is passed on to the program runProgram or capture is
// waiting for (or starting) when it arrives,
// so that the sweep can stop what runs, gather what finished and exit with 128
// plus the signal.  The former handlers come back with its end.
class Interrupts {
public:
    Interrupts();
    ~Interrupts();
    Interrupts(const Interrupts&) = delete;
    Interrupts& operator=(const Interrupts&) = delete;
    // The signal received, or 0.
    static int received();

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

// Sleeps `milliseconds`, or less when a signal arrives.
void pause(int milliseconds);

}  // namespace vivarix::sweep

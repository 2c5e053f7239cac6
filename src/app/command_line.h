// The desktop program's command line:
//
//   vivarix [--seed N] [--record FILE] [SESSION.vxs]
//   vivarix --help | --version
//
// --seed starts the session with that seed instead of one from the clock (the
// journal of the same inputs is then the same); --record writes the session's
// journal to FILE as it goes.  A session file is opened once the window is up (it
// brings its own seed).  Qt's own options are taken out before this reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vivarix {

struct CommandLine {
    std::optional<std::uint64_t> seed;
    std::optional<std::string> record;
    std::optional<std::string> session;  // the journal to open
    bool help = false;
    bool version = false;
    std::string error;  // empty when the arguments are sound
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// What --help, -h or --version asks for when one of them stands among the
// arguments as an option (not as the value of --seed or --record), the first one
// counting: the usage or the version line.  Empty when none does.  The program
// answers it before it starts Qt, so that it needs no display.
std::string textRequested(const std::vector<std::string>& args);

inline constexpr const char* programUsage = "usage: vivarix [--seed N] [--record FILE] [SESSION.vxs]\n"
                                            "       vivarix --help | --version\n";

}  // namespace vivarix

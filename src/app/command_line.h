// The desktop program's command line:
//
//   vivarix [--seed N] [--record FILE] [SESSION.vxs]
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
    std::string error;  // empty when the arguments are sound
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* programUsage = "usage: vivarix [--seed N] [--record FILE] [SESSION.vxs]\n";

}  // namespace vivarix

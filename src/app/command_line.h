// The desktop program's command line:
//
//   vivarix [--seed N] [--record FILE]
//
// --seed starts the session with that seed instead of one from the clock (the
// journal of the same inputs is then the same); --record writes the session's
// journal to FILE as it goes.  Qt's own options are taken out before this reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vivarix {

struct CommandLine {
    std::optional<std::uint64_t> seed;
    std::optional<std::string> record;
    bool help = false;
    std::string error;  // empty when the arguments are sound
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* programUsage = "usage: vivarix [--seed N] [--record FILE]\n";

}  // namespace vivarix

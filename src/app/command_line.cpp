#include "app/command_line.h"

#include <charconv>

#include "platform/core/version.h"

namespace vivarix {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            line.help = true;
            continue;
        }
        if (option == "--version") {
            line.version = true;
            continue;
        }
        if (!option.empty() && option[0] != '-') {
            if (line.session) {
                line.error = option + ": only one session can be opened";
                return line;
            }
            line.session = option;
            continue;
        }
        if (option != "--seed" && option != "--record") {
            line.error = option + ": unknown option";
            return line;
        }
        if (i + 1 >= args.size()) {
            line.error = option + ": missing value";
            return line;
        }
        const std::string& value = args[++i];
        if (option == "--record") {
            if (value.empty()) line.error = "--record: expected a file name";
            line.record = value;
        } else {
            std::uint64_t seed = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (ec == std::errc::result_out_of_range)
                line.error = "--seed: " + value + " is too large for a 64-bit seed";
            else if (value.empty() || ec != std::errc() || end != value.data() + value.size())
                line.error = "--seed: expected an unsigned decimal number";
            line.seed = seed;
        }
        if (!line.error.empty()) return line;
    }
    return line;
}

std::string textRequested(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") return programUsage;
        if (args[i] == "--version") return versionLine("vivarix");
        if (args[i] == "--seed" || args[i] == "--record") ++i;
    }
    return {};
}

}  // namespace vivarix

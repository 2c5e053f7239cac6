// A command line from fuzzer bytes, for the option-parser fuzzers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vivarix::fuzz {

// The input split into arguments at every NUL or newline byte; a separator at the
// very end ends the last argument, so "a\n" is one argument and "a\n\n" two.
inline std::vector<std::string> splitArguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0' || c == '\n') {
            args.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (size > 0 && data[size - 1] != '\0' && data[size - 1] != '\n') args.push_back(std::move(current));
    return args;
}

// Whether `error` is one line that starts with "OPTION: ", OPTION one of `args` or
// of `alsoNamed` (options a parser may miss without their being given).
inline bool namesAnOption(const std::string& error, const std::vector<std::string>& args,
                          const std::vector<std::string>& alsoNamed = {}) {
    if (error.find('\n') != std::string::npos) return false;
    for (const std::vector<std::string>* options : {&args, &alsoNamed})
        for (const std::string& option : *options)
            if (error.compare(0, option.size() + 2, option + ": ") == 0) return true;
    return false;
}

}  // namespace vivarix::fuzz

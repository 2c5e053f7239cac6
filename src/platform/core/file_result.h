// The outcome of writing a file, and the reason a message gives for a failure.
//
// errno means something only right after a call that failed, and calls that
// succeed may change it too.  So every call whose failure a message would explain
// runs through `attempt`, which clears errno right before the call and keeps what
// the call itself left: a message never shows an error left over from before.
#pragma once

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

namespace vivarix {

struct FileResult {
    // 0: every attempted call succeeded; else the errno of the one that failed,
    // EIO when it set none.
    int error = 0;

    explicit operator bool() const { return error == 0; }

    // Runs `call` (a callable returning whether it succeeded) unless an earlier
    // attempt failed, so that a sequence of attempts stops at its first failure;
    // returns whether it ran and succeeded.
    template <class Call>
    bool attempt(Call&& call) {
        if (error != 0) return false;
        errno = 0;
        if (call()) return true;
        error = errno != 0 ? errno : EIO;
        return false;
    }

    // The system's words for `error` ("No space left on device"); empty for 0.
    std::string reason() const;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes `text` to `path`, replacing what was there.  Closing writes out what was
// buffered, so a failure to close is the write's.
FileResult writeWholeFile(const std::string& path, std::string_view text);

}  // namespace vivarix

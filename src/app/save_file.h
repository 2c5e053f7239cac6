// Saving files the user names: the dialog, the writing and the report of a failure.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/desktop.h"

namespace vivarix {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes `text` to `path`, replacing what was there.  Returns false, with errno
// telling why where the system said, when the file cannot be written.
bool writeWholeFile(const std::string& path, std::string_view text);

// Asks where to save (Desktop::askSaveFileName with `title` and `suggestedName`)
// and calls `save` with the chosen path; nothing when the user cancels.  When
// `save` returns false, a message box says "<what> could not be saved to PATH:
// <reason>." and the session goes on.
void saveThroughDialog(Desktop& desktop, std::string_view title, std::string_view suggestedName,
                       std::string_view what, const std::function<bool(const std::string& path)>& save);

}  // namespace vivarix

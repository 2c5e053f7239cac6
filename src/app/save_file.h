// Saving files the user names: the dialog, the writing and the report of a failure.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/desktop.h"
#include "platform/core/file_result.h"

namespace vivarix {

// Asks where to save (Desktop::askSaveFileName with `title` and `suggestedName`)
// and calls `save` with the chosen path; nothing when the user cancels.  When
// `save` fails, a message box says "<what> could not be saved to PATH: <reason>."
// and the session goes on.
void saveThroughDialog(Desktop& desktop, std::string_view title, std::string_view suggestedName,
                       std::string_view what, const std::function<FileResult(const std::string& path)>& save);

}  // namespace vivarix

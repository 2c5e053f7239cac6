// Modal messages to the user.
//
// The logic reports failures through this interface: the desktop program shows a
// modal box with one OK button and returns when it is closed; headless front ends
// print the title and text on stderr.
#pragma once

#include <string_view>

namespace vivarix {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the text under the title and returns when the user has acknowledged it.
    virtual void messageBox(std::string_view title, std::string_view text) = 0;
};

// Writes "title: text" as one line on stderr.  Shared, stateless.
MessageBoxes& stderrMessageBoxes();

}  // namespace vivarix

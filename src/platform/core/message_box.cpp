#include "platform/core/message_box.h"

#include <cstdio>
#include <string>

namespace vivarix {

namespace {
class StderrMessageBoxes final : public MessageBoxes {
public:
    void messageBox(std::string_view title, std::string_view text) override {
        const std::string line = std::string(title) + ": " + std::string(text) + "\n";
        std::fputs(line.c_str(), stderr);
    }
};
}  // namespace

MessageBoxes& stderrMessageBoxes() {
    static StderrMessageBoxes instance;
    return instance;
}

}  // namespace vivarix

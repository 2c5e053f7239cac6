#include "support/scripted_desktop.h"

namespace vivarix::test {

bool ScriptedDesktop::openWindow(std::int32_t, std::int32_t, std::int32_t, std::int32_t width, std::int32_t height,
                                 std::string_view windowTitle) {
    windowOpened = true;
    clientWidth = width;
    clientHeight = height;
    title = windowTitle;
    return true;
}

std::int32_t ScriptedDesktop::pollEvent() {
    if (events.empty()) return event::none;
    const Queued next = events.front();
    events.pop_front();
    lastNumber = next.number;
    return next.code;
}

CursorPosition ScriptedDesktop::cursorPosition(std::int32_t) const {
    return {pointer.first, pointer.second, clientWidth, clientHeight};
}

}  // namespace vivarix::test

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
    lastCode = next.code;
    lastAt = next.at;
    lastFile = next.file;
    return next.code;
}

CursorPosition ScriptedDesktop::cursorPosition(std::int32_t) const {
    return {pointer.first, pointer.second, clientWidth, clientHeight};
}

CursorPosition ScriptedDesktop::eventPosition() const {
    const bool button = lastCode >= event::leftDown && lastCode <= event::middleUp;
    if (!button) return cursorPosition(0);
    return {lastAt.first, lastAt.second, clientWidth, clientHeight};
}

}  // namespace vivarix::test

#include "platform/qt/event_queue.h"

namespace vivarix {

void EventQueue::raise(DesktopEvent event, bool insideDispatch) {
    if (blocked > 0) return;
    if (insideDispatch)
        raised.push_back(event);
    else
        queued.push_back(event);
}

void EventQueue::endDispatch(std::int32_t inputCode) {
    if (blocked > 0) {
        raised.clear();
        return;
    }
    if (!raised.empty()) {
        queued.insert(queued.end(), raised.begin(), raised.end());
        raised.clear();
    } else if (inputCode != 0) {
        queued.push_back(DesktopEvent{inputCode, -1});
    }
}

DesktopEvent EventQueue::pop() {
    if (queued.empty()) return DesktopEvent{};
    const DesktopEvent event = queued.front();
    queued.pop_front();
    return event;
}

}  // namespace vivarix

#include "platform/qt/event_queue.h"

namespace vivarix {

void EventQueue::raise(DesktopEvent event, bool insideDispatch) {
    if (blocked > 0) return;
    if (insideDispatch)
        raised.push_back(event);
    else
        queued.push_back(event);
}

void EventQueue::endDispatch(const DesktopEvent& input) {
    if (blocked > 0) {
        raised.clear();
        return;
    }
    if (!raised.empty()) {
        queued.insert(queued.end(), raised.begin(), raised.end());
        raised.clear();
    } else if (input.code != 0) {
        queued.push_back(input);
    }
}

DesktopEvent EventQueue::pop() {
    if (queued.empty()) return DesktopEvent{};
    const DesktopEvent event = queued.front();
    queued.pop_front();
    return event;
}

}  // namespace vivarix

// The desktop's queue of events, one handed out per poll.
//
// Widgets raise control, shortcut and close events from their signals while Qt
// dispatches an event to them.  One input event (a mouse press, a key) may go through
// several nested dispatches before it is done, so the events it raised are only
// collected while it runs; when its outermost dispatch ends, the raised events take
// its place in the queue, in the order they were raised.  Only an input event that
// raised nothing is queued under its own code.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vivarix {

struct DesktopEvent {
    std::int32_t code = 0;    // see namespace event in desktop.h
    std::int32_t number = -1; // the control or shortcut of a control or shortcut event, else -1
    bool positioned = false;  // a mouse button event: (x, y) is where it happened
    std::int32_t x = 0;       // in the client coordinates of the program's window
    std::int32_t y = 0;
    std::string file{};       // a file dropped on the window: its local path
};

class EventQueue {
public:
    // An event raised now.  Inside a dispatch it waits for the end of the outermost
    // one; raised outside any dispatch (a button clicked from code) it is queued
    // at once.
    void raise(DesktopEvent event, bool insideDispatch);

    // The outermost dispatch ended: queue what it raised, or else `input` when the
    // dispatched event was one of our input events (code 0 when it was not).
    void endDispatch(const DesktopEvent& input);

    bool empty() const { return queued.empty(); }
    // The oldest queued event; {0, -1} when there is none.
    DesktopEvent pop();

private:
    // While blocked (a modal dialog is open) nothing is queued; what is raised
    // meanwhile is discarded.  Blocks nest.  Only an EventBlock blocks, so that
    // every block is undone.
    friend class EventBlock;
    void block() { ++blocked; }
    void unblock() { --blocked; }

    std::vector<DesktopEvent> raised;
    std::deque<DesktopEvent> queued;
    int blocked = 0;
};

// Blocks a queue for as long as it lives: around a modal dialog, so that however
// the dialog's scope is left (its return, an early return, an exception) the queue
// takes events again.
class EventBlock {
public:
    explicit EventBlock(EventQueue& queue) : queue(queue) { queue.block(); }
    ~EventBlock() { queue.unblock(); }
    EventBlock(const EventBlock&) = delete;
    EventBlock& operator=(const EventBlock&) = delete;

private:
    EventQueue& queue;
};

}  // namespace vivarix

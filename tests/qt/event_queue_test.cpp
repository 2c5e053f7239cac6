// The desktop's event queue under the block a modal dialog holds: nothing is queued
// while any block lives, and every way out of a blocked scope unblocks it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/core/desktop.h"
#include "platform/qt/event_queue.h"

namespace vivarix {
namespace {

// Raises a control event inside a dispatch and one outside, ends the dispatch and
// returns how many of the two were queued.
int raiseTwo(EventQueue& queue) {
    queue.raise({event::control, 1}, true);
    queue.raise({event::control, 2}, false);
    queue.endDispatch({event::keyDown});
    int queued = 0;
    while (!queue.empty()) {
        queue.pop();
        ++queued;
    }
    return queued;
}

TEST(EventBlock, DiscardsWhatIsRaisedAndUnblocksOnEveryWayOut) {
    EventQueue queue;
    {
        const EventBlock outer(queue);
        {
            const EventBlock inner(queue);
            EXPECT_EQ(raiseTwo(queue), 0);
        }
        // The outer block still holds after the inner one ends.
        EXPECT_EQ(raiseTwo(queue), 0);
    }
    EXPECT_EQ(raiseTwo(queue), 2);

    EXPECT_THROW(
        {
            const EventBlock block(queue);
            EXPECT_EQ(raiseTwo(queue), 0);
            throw std::runtime_error("the dialog failed");
        },
        std::runtime_error);
    EXPECT_EQ(raiseTwo(queue), 2);
}

}  // namespace
}  // namespace vivarix

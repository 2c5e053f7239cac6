// The page's clock: platform/core/clock.h on the browser's time, and the one pass
// schedule, to which the program's sleeps go (a page cannot sleep).
#include <emscripten/emscripten.h>

#include "platform/web/pass_schedule.h"

namespace vivarix {

double browserNow() { return emscripten_get_now(); }

PassSchedule& passSchedule() {
    static PassSchedule schedule(browserNow);
    return schedule;
}

std::uint32_t tickCount() { return wrapped(browserNow()); }

void sleepMs(std::int32_t ms) { passSchedule().sleep(ms); }

}  // namespace vivarix

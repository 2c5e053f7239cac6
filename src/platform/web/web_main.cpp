// Vivarix in a web page: start-up, then one pass of the main loop per animation
// frame, as the browser's frames and the pass schedule allow.
//
// The page calls vivarix_web_frame for every animation frame itself, rather than
// through emscripten's frame loop: a pass may sleep through Asyncify in one of the
// desktop's dialogs (web_desktop.h), and Asyncify resumes only what an export of
// the module began.  Opening sessions needs nothing here: the main loop opens the
// file the desktop hands over as dropped (Ctrl+O, the "Open session" button, or a
// file dropped on the page), and Ctrl+G and End go to a tick of it.
//
// The page's address may carry ?seed=N, which the page hands over as the command
// line "--seed N" (index.html); the About tab shows the seed either way.
#include <chrono>
#include <cstdint>
#include <emscripten/emscripten.h>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/web/page_calls.h"
#include "platform/web/pass_schedule.h"
#include "platform/web/web_desktop.h"

namespace vivarix {
// The program's one state.  Everything else reaches it as a parameter.
AppState appState;
}  // namespace vivarix

namespace {

using namespace vivarix;

// The ticks of a pass at "max" take less here than on the desktop: the browser
// shows a pass's frame at its next animation frame, 16.7 ms after the last, and a
// pass that overruns that with its ticks and its drawing makes the browser skip a
// frame, which halves the passes a second and so the ticks.
constexpr std::chrono::microseconds pageMaxSpeedTicks{12000};

std::unique_ptr<Desktop> desktop;
std::unique_ptr<TextRenderer> text;

}  // namespace

// An animation frame at `now` (the browser's clock, in milliseconds).  The page
// calls no other frame while a pass sleeps in a dialog.
extern "C" EMSCRIPTEN_KEEPALIVE void vivarix_web_frame(double now) {
    PassSchedule& schedule = passSchedule();
    if (!desktop || !schedule.due(now)) return;
    schedule.begin(now);
    // The page never asks to close, so a pass never ends the program.
    runPass(appState, *desktop);
    schedule.end(browserNow());
}

int main(int argc, char** argv) {
    desktop = startWebDesktop(appState.graphics);
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!line.error.empty()) {
        desktop->messageBox("Vivarix", "The seed in the address cannot be used (" + line.error +
                                           "). The page starts with a seed from the clock.");
    }
    text = createWebTextRenderer();
    const auto seed = line.error.empty() && line.seed
                          ? *line.seed
                          : static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    if (!startUp(appState, *desktop, *text, seed)) return 0;
    appState.passClock = &passSchedule();
    appState.maxSpeedTicks = pageMaxSpeedTicks;
    vx_ready();
    return 0;
}

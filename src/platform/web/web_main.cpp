// Vivarix in a web page: start-up, then one pass of the main loop per animation
// frame, as the browser's frames and the pass schedule allow.
//
// The page's address may carry ?seed=N, which the page hands over as the command
// line "--seed N" (index.html); the About tab shows the seed either way.
#include <chrono>
#include <cstdint>
#include <emscripten/html5.h>
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

std::unique_ptr<Desktop> desktop;
std::unique_ptr<TextRenderer> text;

EM_BOOL frame(double now, void*) {
    PassSchedule& schedule = passSchedule();
    if (!schedule.due(now)) return EM_TRUE;
    schedule.begin(now);
    // The page never asks to close, so a pass never ends the program.
    runPass(appState, *desktop);
    schedule.end(browserNow());
    return EM_TRUE;
}

}  // namespace

// Opening a saved session in the page (a file picker, or a file dropped on it)
// belongs here: replaying its journal through the program's session layer, then
// handing the page to the main loop as at its end.  The page's "Open session"
// button (index.html) stays hidden until then.

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
    vx_ready();
    emscripten_request_animation_frame_loop(frame, nullptr);
    return 0;
}

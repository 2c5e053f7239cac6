// Vivarix on the desktop: start-up, then the main loop until the window is closed.
#include <chrono>
#include <cstdint>
#include <memory>

#include "app/app_state.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"

namespace vivarix {
// The program's one state.  Everything else reaches it as a parameter.
AppState appState;
}  // namespace vivarix

int main(int argc, char** argv) {
    using namespace vivarix;
    // Exits with status 1 and one line on stderr when no display can be opened.
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    const auto seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    if (startUp(appState, *desktop, *text, seed)) mainLoop(appState, *desktop);
    // Ending: the window, the surface, the controls and the pictures go with the
    // desktop and the state; nothing is saved.
    appState.graphics.text = nullptr;
    return 0;
}

// Vivarix on the desktop: start-up, then the main loop until the window is closed.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/open_session.h"
#include "app/startup.h"
#include "platform/qt/qt_desktop.h"

namespace vivarix {
// The program's one state.  Everything else reaches it as a parameter.
AppState appState;
}  // namespace vivarix

int main(int argc, char** argv) {
    using namespace vivarix;
    // --help and --version are answered without a display, before Qt starts.
    if (const std::string text = textRequested(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
        !text.empty()) {
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    // Exits with status 1 and one line on stderr when no display can be opened.
    // Takes Qt's own options out of argv.
    std::unique_ptr<Desktop> desktop = startQtDesktop(argc, argv, appState.graphics);
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "vivarix: %s\n%s", line.error.c_str(), programUsage);
        return 2;
    }
    std::error_code same;
    if (line.record && line.session && std::filesystem::equivalent(*line.record, *line.session, same)) {
        std::fprintf(stderr, "vivarix: --record %s would overwrite the session it opens\n", line.record->c_str());
        return 2;
    }
    std::unique_ptr<TextRenderer> text = createQtTextRenderer();
    const auto seed =
        line.seed.value_or(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    if (startUp(appState, *desktop, *text, seed)) {
        if (line.record)
            if (const FileResult recording = startRecording(appState.session, *line.record); !recording)
                desktop->messageBox("Vivarix", "The session cannot be recorded to " + *line.record + ": " +
                                                   recording.reason() + ". It goes on without recording.");
        if (line.session) openSession(appState, *line.session);
        mainLoop(appState, *desktop);
    }
    // Ending: the window, the surface, the controls and the pictures go with the
    // desktop and the state; nothing is saved.
    appState.graphics.text = nullptr;
    return 0;
}

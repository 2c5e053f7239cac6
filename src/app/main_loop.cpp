#include "app/main_loop.h"

#include <new>
#include <string>

#include "app/commands.h"
#include "app/control_panel.h"
#include "app/open_session.h"
#include "app/plate_preparation.h"
#include "app/population_watch.h"
#include "app/replay.h"
#include "app/speed.h"
#include "app/startup.h"
#include "platform/core/clock.h"
#include "platform/core/wrap.h"
#include "render/plate_view.h"
#include "session/control_table.h"
#include "sim/tick.h"

namespace vivarix {

namespace {

// Tracks the pointer; outside the client area (both edges inclusive) the last
// position stays and feeding stops.
void readPointer(AppState& state, Desktop& desktop) {
    const CursorPosition c = desktop.cursorPosition(0);
    const bool inX = c.x >= 0 && c.x <= c.clientWidth;
    const bool inY = c.y >= 0 && c.y <= c.clientHeight;
    const bool inside = inX && inY;
    if (inside) {
        state.mouseX = c.x;
        state.mouseY = c.y;
    } else {
        state.feedingActive = 0;
    }
}

// Runs a part of the pass that builds texts and tables on the heap: the handling
// of an event, the title, the frame.  (The ticks never throw for lack of memory:
// the simulation goes without the element, the journal ends.)  A part that runs
// out of memory is left unfinished with the no-memory box, its drawing closed and
// the creature list's last creature current, as a frame leaves it; the pass goes
// on, and the next one draws everything anew (the repaints a frame did not reach
// stay queued for it).
template <class Part>
void runPart(AppState& state, Part&& part) {
    try {
        part();
    } catch (const std::bad_alloc&) {
        stopDrawing(state.graphics);
        settleCreatureList(state);
        reportNoMemory(state);
    }
}

// The frame after the pass's ticks: drawn, sampled for the population history, and
// its time added to the frame rate's.
void drawFrame(AppState& state) {
    runPart(state, [&] { renderFrame(state); });
    sampleDrawnFrame(state);

    state.frameTimeAccumMs =
        wrapAdd32(state.frameTimeAccumMs, static_cast<std::int32_t>(passTime(state) - state.frameStartTick));
    if (state.frameCounter % 10 == 0) {
        if (state.frameTimeAccumMs > 0) state.framesPerSecond = 10000 / state.frameTimeAccumMs;
        state.frameTimeAccumMs = 0;
    }
}

enum class Handled { goOn, endPass, close };

Handled handleEvent(AppState& state, Desktop& desktop, std::int32_t code) {
    switch (code) {
    case event::none:
        sleepMs(state.frameDelayMs);
        break;
    case event::control:
        handleControlEvent(state, desktop, desktop.eventControl());
        break;
    case event::shortcut:
        if (desktop.eventShortcut() == shortcut::help)
            desktop.showHelp();
        else if (desktop.eventShortcut() == shortcut::saveSession)
            saveSessionAs(state, desktop);
        else
            handleShortcutEvent(state, desktop, desktop.eventShortcut());
        break;
    case event::populationData:
        savePopulationData(state, desktop);
        break;
    case event::close:
        return Handled::close;
    case event::rightDown:
        endReplay(state);  // the user feeds: a replay ends here
        state.feedingActive = 1;
        break;
    case event::fileDropped:
        openSession(state, desktop.droppedFile());
        break;
    case event::rightUp:
        state.feedingActive = 0;
        break;
    case event::leftUp:
        if (state.newPlateLatch == 1) state.newPlateLatch = 0;
        break;
    case event::leftDown: {
        if (state.paused == 1) return Handled::endPass;
        // Where the button went down: with a slow pass the pointer may be elsewhere by now.
        const CursorPosition at = desktop.eventPosition();
        placeCreature(state, at.x, at.y);
        break;
    }
    case event::middleDown: {
        const CursorPosition at = desktop.eventPosition();
        handleMiddleClick(state, at.x, at.y);
        break;
    }
    default:
        break;
    }
    return Handled::goOn;
}

}  // namespace

bool runPass(AppState& state, Desktop& desktop) {
    state.frameStartTick = passTime(state);
    desktop.presentFrame(state.graphics.backBuffer, true);
    desktop.setControlState(control::inspectorView, imageHandle(state.graphics, inspectorImage));
    state.frameCounter = wrapAdd32(state.frameCounter, 1);
    readPointer(state, desktop);

    Handled handled = Handled::goOn;
    const std::int32_t code = desktop.pollEvent();
    runPart(state, [&] { handled = handleEvent(state, desktop, code); });
    switch (handled) {
    case Handled::close:
        return false;
    case Handled::endPass:
        return true;
    case Handled::goOn:
        break;
    }

    runPart(state, [&] { desktop.setWindowTitle(0, mainWindowTitle(state)); });
    if (state.paused == 1) {
        // N runs one tick and draws it; otherwise a paused pass draws nothing.
        if (state.stepRequested == 1) {
            state.stepRequested = 0;
            runWatchedTick(state);
            drawFrame(state);
        }
        refreshPopulationWindow(state, desktop);
        return true;
    }
    runPassTicks(state);
    drawFrame(state);
    if (atRecordingEnd(state)) state.paused = 1;
    refreshPopulationWindow(state, desktop);
    return true;
}

void mainLoop(AppState& state, Desktop& desktop) {
    while (runPass(state, desktop)) {
    }
}

}  // namespace vivarix

#include "app/startup.h"

#include "app/control_panel.h"
#include "app/pictures.h"
#include "app/plate_preparation.h"
#include "app/user_input.h"
#include "render/legend.h"
#include "render/plate_view.h"
#include "session/control_table.h"

namespace vivarix {

bool startUp(AppState& state, Desktop& desktop, TextRenderer& text, std::uint64_t seed) {
    state.graphics.text = &text;
    if (!desktop.renderSurfaceAvailable()) {
        desktop.messageBox("Error", "Can't open DirectX 7 or higher!");
        return false;
    }
    initialiseState(state, &desktop, &desktop, seed);

    desktop.openWindow(0, 0, 0, windowSize.width, windowSize.height, programTitle);
    desktop.openRenderSurface(0, 0, 0, state.plateWidth, state.plateHeight);
    openBackBuffer(state.graphics, state.plateWidth, state.plateHeight);

    createWorkPictures(state);
    decodeBuiltinPictures(state);

    // Without a control list the program runs on: every control then reads 0.
    if (desktop.beginControls(0)) buildControlPanel(state, desktop);
    registerShortcuts(desktop);
    desktop.setSurfaceTips(legendTips());

    state.frameTimeAccumMs = 0;
    state.frameCounter = 0;
    loadFont(state.graphics, plateFont, "arial", 8);
    drawCredits(state);
    desktop.setControlState(control::aboutView, imageHandle(state.graphics, aboutImage));

    preparePlate(state);
    writeValueLabels(state);
    startSession(state.session, {state.session.seed, controlState(state, control::randomOption) == 1});
    takeAutoPosition(state);
    return true;
}

}  // namespace vivarix

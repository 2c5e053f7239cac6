#include "app/pictures.h"

#include "app/plate_preparation.h"
#include "session/control_table.h"

namespace vivarix {

void createWorkPictures(AppState& state) {
    createPlatePicture(state);
    createImage(state.graphics, inspectorImage, inspectorPictureSize.width, inspectorPictureSize.height);
    createImage(state.graphics, aboutImage, aboutPictureSize.width, aboutPictureSize.height);
}

void drawCredits(AppState& state) {
    static constexpr const char* lines[] = {
        "Vivarix 0.4alpha          F1: help",
        "An artificial-life toy: blue and red creatures",
        "live, eat, multiply and evolve on a plate.",
        "Left click: place a creature (C blue, S red)",
        "Right button: feed; middle click: follow",
        "G statistics, L magnifier, R magnifier here",
        "P pause, N one step, F faster, 0 to 9 slower",
        "H population chart, Ctrl+S save the session",
    };
    Graphics& g = state.graphics;
    startDrawing(g, imageOutput(aboutImage));
    setDrawingFont(g, fontHandle(plateFont));
    setDrawingMode(g, drawTransparentText);
    setFrontColour(g, 255, 255, 255);
    std::int32_t y = 4;
    for (const char* line : lines) {
        setTextPosition(g, 6, y);
        drawText(g, line);
        y += 13;
    }
    stopDrawing(g);
}

}  // namespace vivarix

#include "app/pictures.h"

#include "app/plate_preparation.h"
#include "assets/builtin_images.h"

namespace vivarix {

void createWorkPictures(AppState& state) {
    createImage(state.graphics, plateImage, state.plateWidth, state.plateHeight);
    createImage(state.graphics, inspectorImage, 245, 200);
    createImage(state.graphics, aboutImage, 230, 115);
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

bool decodeBuiltinPictures(AppState& state) {
    bool all = true;
    for (const BuiltinImage& picture : builtinImages()) {
        all = decodeImage(state.graphics, picture.number, picture.bytes, picture.size) != 0 && all;
        if (picture.number == plateTextureImage)
            resizeImage(state.graphics, plateTextureImage, state.plateWidth, state.plateHeight);
        else if (picture.number == cloudTextureImage)
            resizeImage(state.graphics, cloudTextureImage, 255, 200);
    }
    return all;
}

}  // namespace vivarix

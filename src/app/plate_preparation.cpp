#include "app/plate_preparation.h"

#include "platform/core/colour.h"
#include "sim/plate_setup.h"

namespace vivarix {

void preparePlate(AppState& state) {
    Graphics& g = state.graphics;
    clearList(state.nutriumList);

    // The box is wider than the 245-pixel picture; drawing clips it.
    startDrawing(g, imageOutput(inspectorImage));
    drawBox(g, 0, 0, 255, 200, panelGrey);
    stopDrawing(g);

    startDrawing(g, imageOutput(plateImage));
    const std::int32_t centre = state.plateWidth >> 1;
    if (state.newPlateLatch == 0) {
        drawImage(g, imageHandle(g, plateTextureImage), 0, 0);
        drawCircle(g, centre, centre, 221, white);
    }
    drawCircle(g, centre, centre, 220, plateColour);

    layOutPlateGrid(state);

    drawImage(g, imageHandle(g, kind0Image), 5, 5);
    drawImage(g, imageHandle(g, kind1Image), 5, 25);
    drawImage(g, imageHandle(g, autoFeedImage), 5, 45);
    drawImage(g, imageHandle(g, statsOnImage), 5, 65);
    drawImage(g, imageHandle(g, magnifierOnImage), 5, 85);
    drawCircle(g, 13, 113, 9, white);
    drawCircle(g, 13, 113, 8, panelGrey);

    // The colour scale: blue fading from column 1, red fading from column 459; where
    // they overlap the later line wins.
    for (std::int32_t i = 0; i <= 255; ++i) {
        drawLine(g, i + 1, 459, 0, -4, rgb(0, 0, 255 - i));
        drawLine(g, 459 - i, 459, 0, -4, rgb(255 - i, 0, 0));
    }
    stopDrawing(g);
}

}  // namespace vivarix

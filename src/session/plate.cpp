#include "session/plate.h"

#include "assets/builtin_images.h"
#include "platform/core/colour.h"
#include "session/control_table.h"
#include "sim/plate_setup.h"

namespace vivarix {

void createPlatePicture(SimState& state) {
    createImage(state.graphics, plateImage, state.plateWidth, state.plateHeight);
}

bool decodeBuiltinPictures(SimState& state) {
    bool all = true;
    for (const BuiltinImage& picture : builtinImages()) {
        all = decodeImage(state.graphics, picture.number, picture.bytes, picture.size) != 0 && all;
        if (picture.number == plateTextureImage)
            resizeImage(state.graphics, plateTextureImage, state.plateWidth, state.plateHeight);
        else if (picture.number == cloudTextureImage)
            resizeImage(state.graphics, cloudTextureImage, cloudPictureSize.width, cloudPictureSize.height);
    }
    return all;
}

void layOutPlate(SimState& state, PlateBuild build, bool randomNutrient) {
    Graphics& g = state.graphics;
    clearList(state.nutriumList);

    startDrawing(g, imageOutput(plateImage));
    const std::int32_t centre = state.plateWidth >> 1;
    if (build == PlateBuild::first) {
        drawImage(g, imageHandle(g, plateTextureImage), 0, 0);
        drawCircle(g, centre, centre, 221, white);
    }
    drawCircle(g, centre, centre, 220, plateColour);

    layOutPlateGrid(state, randomNutrient);

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

void startNewPlate(SimState& state, bool randomNutrient) {
    layOutPlate(state, PlateBuild::rebuild, randomNutrient);
    clearList(state.creatureList);
    state.followed = nullptr;
    state.kindCount = {0, 0, 0};
}

}  // namespace vivarix

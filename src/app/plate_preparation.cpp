#include "app/plate_preparation.h"

#include "session/control_table.h"

namespace vivarix {

void clearInspectorPicture(AppState& state) {
    Graphics& g = state.graphics;
    startDrawing(g, imageOutput(inspectorImage));
    drawBox(g, 0, 0, inspectorPictureSize.width, inspectorPictureSize.height, panelGrey);
    stopDrawing(g);
}

void preparePlate(AppState& state) {
    clearInspectorPicture(state);
    layOutPlate(state, state.newPlateLatch == 0 ? PlateBuild::first : PlateBuild::rebuild,
                controlState(state, control::randomOption) == 1);
}

}  // namespace vivarix

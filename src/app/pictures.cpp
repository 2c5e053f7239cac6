#include "app/pictures.h"

#include "app/plate_preparation.h"
#include "assets/builtin_images.h"

namespace vivarix {

void createWorkPictures(AppState& state) {
    createImage(state.graphics, plateImage, state.plateWidth, state.plateHeight);
    createImage(state.graphics, inspectorImage, 245, 200);
    createImage(state.graphics, aboutImage, 230, 115);
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

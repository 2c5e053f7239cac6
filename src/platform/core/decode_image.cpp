// decodeImage: a picture decoded by jpeg::decodeJpeg becomes a numbered image.  The
// desktop's decoder is libjpeg (jpeg_decode.cpp); the page's hands out the built-in
// pictures decoded when it was built (platform/web).
#include <cstddef>
#include <utility>

#include "platform/core/graphics.h"
#include "platform/core/jpeg_decode.h"

namespace vivarix {

ImageHandle decodeImage(Graphics& g, std::int32_t number, const std::uint8_t* bytes, std::size_t size) {
    if (number < 0 || number > maxImageNumber) return 0;
    jpeg::Decoded decoded;
    struct Release {
        jpeg::Decoded* d;
        ~Release() { jpeg::freeDecoded(d); }
    } release{&decoded};
    if (jpeg::decodeJpeg(bytes, size, &decoded) != jpeg::Outcome::decoded) return 0;
    const std::size_t count = static_cast<std::size_t>(decoded.width) * decoded.height;
    Image fresh;
    fresh.width = static_cast<std::int32_t>(decoded.width);
    fresh.height = static_cast<std::int32_t>(decoded.height);
    fresh.pixels.assign(decoded.pixels, decoded.pixels + count);
    // Replace only once the new picture is complete: a failure above leaves the old one.
    g.images[static_cast<std::size_t>(number)] = std::move(fresh);
    return number + 1;
}

}  // namespace vivarix

// The page's JPEG decoder: the built-in pictures, decoded by libjpeg when the page
// was built (predecoded_pictures.h).  Any other bytes are refused as a file that
// does not decode; the page decodes nothing else.
#include <cstdlib>

#include "platform/core/jpeg_decode.h"
#include "platform/web/predecoded_pictures.h"

namespace vivarix::jpeg {

Outcome decodeJpeg(const std::uint8_t* bytes, std::size_t size, Decoded* out) {
    if (bytes == nullptr || size == 0) return Outcome::damaged;
    const std::uint64_t key = pictureKey(bytes, size);
    for (const PredecodedPicture& picture : predecodedPictures()) {
        if (picture.jpegSize != size || picture.jpegKey != key) continue;
        const std::size_t count = std::size_t{picture.width} * picture.height;
        out->pixels = static_cast<std::uint32_t*>(std::malloc(count * sizeof(std::uint32_t)));
        if (out->pixels == nullptr) return Outcome::outOfMemory;
        const std::uint8_t* rgb = picture.rgb;
        for (std::size_t i = 0; i < count; ++i, rgb += 3)
            out->pixels[i] = rgb[0] | (std::uint32_t{rgb[1]} << 8) | (std::uint32_t{rgb[2]} << 16);
        out->width = picture.width;
        out->height = picture.height;
        return Outcome::decoded;
    }
    return Outcome::damaged;
}

void freeDecoded(Decoded* decoded) {
    std::free(decoded->pixels);
    std::free(decoded->row);
    decoded->pixels = nullptr;
    decoded->row = nullptr;
}

}  // namespace vivarix::jpeg

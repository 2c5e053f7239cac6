// The built-in pictures as the desktop's decoder (libjpeg) decodes them, for the
// page, which has no libjpeg.  vivarix-predecode-pictures decodes them with the
// program's own decodeImage when the page is built and writes them out as a C++
// source, so that the page shows, and lays its plate out from, exactly the
// desktop's pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vivarix {

struct PredecodedPicture {
    std::size_t jpegSize = 0;     // the JPEG file it was decoded from: its length
    std::uint64_t jpegKey = 0;    // and pictureKey of its bytes
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    const std::uint8_t* rgb = nullptr;  // width * height pixels of red, green, blue; rows top down
};

// What names a JPEG file among the built-in ones: FNV-1a (64 bits) of its bytes.
inline std::uint64_t pictureKey(const std::uint8_t* bytes, std::size_t size) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3u;
    }
    return hash;
}

// Every built-in picture, in image-number order (defined by the generated source).
std::span<const PredecodedPicture> predecodedPictures();

}  // namespace vivarix

// JPEG decoding into plain C buffers: the decoder behind decodeImage.
//
// Internal to the core library.  Two implementations: jpeg_decode.cpp decodes with
// libjpeg (the desktop program, vivarix-lab, the tests); in the page, which has no
// libjpeg, platform/web/predecoded_jpeg.cpp hands out the built-in pictures as
// libjpeg decoded them when the page was built.  Kept free of C++ objects with
// destructors because libjpeg reports errors by longjmp-ing out of the decoder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/graphics.h"

namespace vivarix::jpeg {

// Pictures beyond the image size limits are refused rather than decoded: a forged
// header must not make us allocate gigabytes.
inline constexpr std::uint32_t maxSide = static_cast<std::uint32_t>(maxImageSide);
inline constexpr std::uint64_t maxPixels = static_cast<std::uint64_t>(maxImagePixels);

// The result of a decode.  `pixels` and `row` are malloc'ed by decodeJpeg and
// owned by the caller, who releases them with freeDecoded whatever decodeJpeg
// returned.  `pixels` holds width * height colour values (red in the low byte,
// top byte 0), rows from top to bottom.
struct Decoded {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t* pixels = nullptr;
    unsigned char* row = nullptr;  // scratch: one RGB scanline
};

// Decodes `size` bytes of a JPEG file.  True only when libjpeg decoded the whole
// picture without an error or a single warning (a truncated scan is a warning to
// libjpeg) and it is within maxSide / maxPixels.  Arithmetic-coded files are
// refused: a truncated arithmetic-coded scan is no warning to libjpeg.  Never exits
// the process.
bool decodeJpeg(const std::uint8_t* bytes, std::size_t size, Decoded* out);

void freeDecoded(Decoded* decoded);

}  // namespace vivarix::jpeg

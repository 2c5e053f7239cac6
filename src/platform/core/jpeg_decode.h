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

#include "assets/builtin_images.h"

namespace vivarix::jpeg {

// The decoder reads only the program's own pictures, so a picture larger than the
// largest of them is refused as soon as its header is read, before libjpeg or we
// allocate anything for its pixels: a forged or damaged header of a few bytes must
// not cost hundreds of megabytes.
inline constexpr std::uint32_t maxSide = static_cast<std::uint32_t>(largestBuiltinSide);

// How a decode ended.
enum class Outcome {
    decoded,          // the whole picture, without a warning
    tooLarge,         // the header declares more than maxSide pixels on a side
    arithmeticCoded,  // refused: a truncated arithmetic-coded scan is no warning to libjpeg
    damaged,          // not a JPEG file libjpeg reads cleanly: empty, cut short, corrupt, CMYK
    outOfMemory,      // the pixels could not be allocated
};

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

// Decodes `size` bytes of a JPEG file.  `decoded` only when libjpeg decoded the
// whole picture without an error or a single warning (a truncated scan is a warning
// to libjpeg) and it is within maxSide.  On `tooLarge` and `arithmeticCoded`
// nothing was allocated for the picture (out->pixels and out->row stay null).
// Never exits the process.
Outcome decodeJpeg(const std::uint8_t* bytes, std::size_t size, Decoded* out);

void freeDecoded(Decoded* decoded);

}  // namespace vivarix::jpeg

// The program's built-in pictures: JPEG files compiled into the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vivarix {

// The image numbers of the built-in pictures the program uses by name.  The
// number of each picture is the start of its file name under pictures/.
inline constexpr std::int32_t kind0Image = 36;         // blue smiley: placement kind and legend
inline constexpr std::int32_t kind1Image = 37;         // red smiley
inline constexpr std::int32_t autoFeedImage = 40;      // legend: automatic feeding
inline constexpr std::int32_t statsOffImage = 41;      // statistics button
inline constexpr std::int32_t statsOnImage = 42;
inline constexpr std::int32_t magnifierOffImage = 43;  // magnifier button
inline constexpr std::int32_t magnifierOnImage = 44;
inline constexpr std::int32_t plateTextureImage = 45;  // background of the plate picture
inline constexpr std::int32_t cloudTextureImage = 46;

// No built-in picture is wider or taller than this (the two textures are exactly
// this size).  The picture decoder refuses anything larger, before it allocates
// for it, and the asset generator draws the textures at this size.
inline constexpr std::int32_t largestBuiltinSide = 256;

struct BuiltinImage {
    std::int32_t number;        // the image number it is decoded into
    const std::uint8_t* bytes;  // the whole JPEG file; static storage, never freed
    std::size_t size;           // in bytes
};

// The twelve built-in JPEG files, images 35..46 in number order.
std::span<const BuiltinImage> builtinImages();

}  // namespace vivarix

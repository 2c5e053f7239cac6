// The program's built-in pictures: JPEG files compiled into the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vivarix {

struct BuiltinImage {
    std::int32_t number;        // the image number it is decoded into
    const std::uint8_t* bytes;  // the whole JPEG file; static storage, never freed
    std::size_t size;           // in bytes
};

// The twelve built-in JPEG files, images 35..46 in number order.
std::span<const BuiltinImage> builtinImages();

}  // namespace vivarix

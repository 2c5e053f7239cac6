// Colour values: red + 256 * green + 65536 * blue, red in the low byte.
#pragma once

#include <cstdint>

namespace vivarix {

// Packs the three components without masking; callers keep each in 0..255.  Where
// a caller's component can leave that range, the drawing primitives use the three
// low bytes of the packed value.
constexpr std::int32_t rgb(std::int32_t r, std::int32_t g, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(r) + static_cast<std::uint32_t>(g) * 256u +
                                     static_cast<std::uint32_t>(b) * 65536u);
}

inline constexpr std::int32_t black = rgb(0, 0, 0);
inline constexpr std::int32_t white = rgb(255, 255, 255);
// The control column's grey: the inspector picture's background and the ring of
// the legend's last icon.
inline constexpr std::int32_t panelGrey = rgb(180, 180, 180);

constexpr std::int32_t redOf(std::int32_t colour) { return colour & 0xFF; }
constexpr std::int32_t greenOf(std::int32_t colour) { return (colour >> 8) & 0xFF; }
constexpr std::int32_t blueOf(std::int32_t colour) { return (colour >> 16) & 0xFF; }

}  // namespace vivarix

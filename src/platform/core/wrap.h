// Integer arithmetic in the widths of the records, wrapping explicitly.
//
// Record fields are signed 8-, 16- and 32-bit integers.  Sums that could pass a
// field's range wrap around in two's complement, computed in unsigned arithmetic so
// that no signed overflow ever happens.
#pragma once

#include <cstdint>

namespace vivarix {

constexpr std::int32_t wrapAdd32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapSub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapMul32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// The sum taken to 16 bits (a conversion, never signed overflow).
constexpr std::int16_t wrapTo16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace vivarix

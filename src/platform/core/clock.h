// The millisecond clock and sleeping.
#pragma once

#include <cstdint>

namespace vivarix {

// Milliseconds since an arbitrary fixed point (the system's start on Linux),
// unsigned 32-bit and wrapping.
std::uint32_t tickCount();

// Suspends the calling thread for ms milliseconds; 0 (or less) only yields.
void sleepMs(std::int32_t ms);

}  // namespace vivarix

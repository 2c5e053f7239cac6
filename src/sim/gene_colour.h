// A creature's colour, derived from its six genes and its kind.
#pragma once

#include <cstdint>

#include "sim/records.h"

namespace vivarix {

// The genes geneV .. geneL written in upper-case hexadecimal without leading zeros
// and joined, read back as a decimal number (its leading digits only), modulo 255:
// V in 0..254.  Kind 0 puts V in the blue channel (V * 65536), any other kind in
// the red channel (V).  All genes 2 give 222222 and V = 117; all genes 0 give 0.
// A gene of 10 or more writes a letter that ends the decimal reading.
std::int32_t geneColour(const Creature& creature);

}  // namespace vivarix

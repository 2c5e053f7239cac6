// The creatures as text, and the hash that identifies a population: what
// vivarix-lab dumps and prints, and what the session journal's checkpoints hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/records.h"

namespace vivarix {

// One line per creature in list order: the 20 fields in record order, decimal,
// separated by single spaces.
std::string creaturesText(const CreatureList& list);

// FNV-1a 64-bit of a text.
std::uint64_t fnv1a64(std::string_view text);

// The creatures hash: fnv1a64 of creaturesText, as 16 lower-case hex digits.
std::string creaturesHash(const CreatureList& list);

}  // namespace vivarix

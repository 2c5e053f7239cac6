// The evolution statistics that `vivarix-lab --stats` adds to every CSV line.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/records.h"

namespace vivarix::lab {

// What the living creatures of one kind look like at one moment.
struct KindStats {
    std::int64_t creatures = 0;
    std::int64_t strains = 0;                // distinct colours
    std::int32_t topColour = 0;              // the most common colour, the smallest on a tie; 0 without creatures
    std::int64_t topCount = 0;               // creatures of that colour
    std::array<std::int64_t, 6> geneSums{};  // geneV, geneR, geneSr, geneRw, geneSl, geneL
};

// The statistics of kind 0 and kind 1 over the list.
std::array<KindStats, 2> kindStats(const CreatureList& list);

// The header columns --stats appends, with their leading comma: for kind 0 and
// then kind 1, strainsK,topK,topCountK,geneK_0,...,geneK_5.
std::string statsHeader();

// The columns of statsHeader for `stats`, with their leading comma: the colour
// in decimal, the gene means with three decimals rounded half up; the colour and
// the means are empty for a kind without creatures.
std::string statsColumns(const std::array<KindStats, 2>& stats);

}  // namespace vivarix::lab

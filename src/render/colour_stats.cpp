#include "render/colour_stats.h"

#include <bit>
#include <string>

#include "platform/core/text.h"
#include "render/plate_view.h"
#include "render/render_state.h"

namespace vivarix {

namespace {

constexpr std::size_t initialTableSize = 512;

// Multiplicative hashing that keeps the product's top bits (mask + 1 is the table
// size, a power of 2 of at most 2^26).  The top bits depend on every bit of the
// colour value, while the product's low bits depend only on the colour's low bits:
// the strains of the blue kind, whose colour values differ only in their third
// byte, would all start at one position and every count would scan them all.
std::size_t hashOf(std::int32_t colour, std::size_t mask) {
    const std::uint32_t product = static_cast<std::uint32_t>(colour) * 2654435761u;
    return static_cast<std::size_t>(product >> (32 - std::countr_zero(mask + 1))) & mask;
}

// The table position holding `colour`, or the empty position where it belongs.
std::size_t find(const KindColourCounts& counts, std::int32_t colour) {
    const std::size_t mask = counts.table.size() - 1;
    std::size_t i = hashOf(colour, mask);
    while (counts.table[i] != 0 && counts.colours[static_cast<std::size_t>(counts.table[i] - 1)] != colour)
        i = (i + 1) & mask;
    return i;
}

// Enters the last slot into the table at position i (found empty for its colour).
// The position is noted first: a table entry that resetKindCounts would not find
// could outlive the slot it names.
void enter(KindColourCounts& counts, std::size_t i) {
    counts.positions.push_back(i);
    counts.table[i] = static_cast<std::int32_t>(counts.colours.size());
}

// Keeps the table at most half full.
void growIfNeeded(KindColourCounts& counts) {
    if (counts.colours.size() * 2 <= counts.table.size()) return;
    counts.table.assign(counts.table.size() * 2, 0);
    for (std::size_t slot = 0; slot < counts.colours.size(); ++slot) {
        const std::size_t i = find(counts, counts.colours[slot]);
        counts.table[i] = static_cast<std::int32_t>(slot + 1);
        counts.positions[slot] = i;
    }
}

void writeLine(Graphics& g, std::int32_t x, std::int32_t y, const std::string& text) {
    setTextPosition(g, x, y);
    drawText(g, text);
}

void writeBlock(Graphics& g, std::int32_t x, std::int32_t top, const Creature& c, const char* rwLabel) {
    writeLine(g, x, 380, "Max: " + formatDecimal(top));
    writeLine(g, x, 390, "v  : " + formatDecimal(c.geneV));
    writeLine(g, x, 400, "r  : " + formatDecimal(c.geneR));
    writeLine(g, x, 410, "sr : " + formatDecimal(c.geneSr));
    writeLine(g, x, 420, rwLabel + formatDecimal(c.geneRw));
    writeLine(g, x, 430, "sl : " + formatDecimal(c.geneSl));
    writeLine(g, x, 440, "l  : " + formatDecimal(c.geneL));
}

bool validKind(std::int32_t kind) { return kind >= 0 && kind <= 2; }

}  // namespace

void resetKindCounts(KindColourCounts& counts) {
    if (counts.table.empty()) counts.table.assign(initialTableSize, 0);
    for (const std::size_t i : counts.positions) counts.table[i] = 0;
    counts.positions.clear();
    counts.colours.assign(1, 0);
    counts.counts.assign(1, 0);
    enter(counts, find(counts, 0));
}

std::int32_t countColour(KindColourCounts& counts, std::int32_t colour) {
    if (counts.table.empty()) resetKindCounts(counts);
    const std::size_t i = find(counts, colour);
    if (counts.table[i] != 0) return ++counts.counts[static_cast<std::size_t>(counts.table[i] - 1)];
    counts.colours.push_back(colour);
    counts.counts.push_back(1);
    enter(counts, i);
    growIfNeeded(counts);
    return 1;
}

std::int32_t colourFrequency(const KindColourCounts& counts, std::int32_t colour) {
    if (counts.table.empty()) return 0;
    const std::int32_t slot = counts.table[find(counts, colour)];
    return slot == 0 ? 0 : counts.counts[static_cast<std::size_t>(slot - 1)];
}

void resetColourStats(RenderState& state) {
    for (std::size_t k = 0; k < state.colourCounts.size(); ++k) {
        resetKindCounts(state.colourCounts[k]);
        state.topColourFrequency[k] = 0;
        state.topColourCreature[k] = Creature{};
    }
}

void countCreature(RenderState& state, const Creature& c) {
    if (!validKind(c.kind)) return;
    const auto k = static_cast<std::size_t>(c.kind);
    const std::int32_t n = countColour(state.colourCounts[k], c.colour);
    if (state.topColourFrequency[k] < n) {
        state.topColourFrequency[k] = n;
        state.topColourCreature[k] = c;
    }
}

std::int32_t distinctColourCount(const RenderState& state, std::int32_t kind) {
    const auto& colours = state.colourCounts[static_cast<std::size_t>(kind)].colours;
    return colours.empty() ? 0 : static_cast<std::int32_t>(colours.size()) - 1;
}

void drawColourStats(RenderState& state) {
    Graphics& g = state.graphics;
    for (std::int32_t kind = 0; kind <= 1; ++kind) {
        const KindColourCounts& counts = state.colourCounts[static_cast<std::size_t>(kind)];
        for (std::size_t slot = 0; slot < counts.colours.size(); ++slot) {
            const std::int32_t c = counts.colours[slot];
            const std::int32_t level = static_cast<std::int32_t>(static_cast<std::uint32_t>(c) % 255u);
            const std::int32_t column = kind == 0 ? 255 - level : 205 + level;
            drawLine(g, column, 455, 0, -(counts.counts[slot] + 4), c);
        }
    }
    setDrawingFont(g, fontHandle(plateFont));
    setDrawingMode(g, drawTransparentText);
    setFrontColour(g, 0, 0, 255);
    writeBlock(g, 5, state.topColourFrequency[0], state.topColourCreature[0], "rw : ");
    setFrontColour(g, 255, 0, 0);
    writeBlock(g, 400, state.topColourFrequency[1], state.topColourCreature[1], "rw  ");
    setDrawingMode(g, 0);
}

}  // namespace vivarix

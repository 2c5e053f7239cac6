#include "sim/gene_colour.h"

#include <string>

#include "platform/core/text.h"

namespace vivarix {

namespace {
// The usual genes 0..9 write one decimal digit each; only other values need the
// general text route.
bool allSingleDigits(const Creature& c) {
    for (const std::int16_t gene : {c.geneV, c.geneR, c.geneSr, c.geneRw, c.geneSl, c.geneL})
        if (gene < 0 || gene > 9) return false;
    return true;
}
}  // namespace

std::int32_t geneColour(const Creature& c) {
    std::uint32_t number;
    if (allSingleDigits(c)) {
        number = 0;
        for (const std::int16_t gene : {c.geneV, c.geneR, c.geneSr, c.geneRw, c.geneSl, c.geneL})
            number = number * 10u + static_cast<std::uint32_t>(gene);
    } else {
        std::string text;
        for (const std::int16_t gene : {c.geneV, c.geneR, c.geneSr, c.geneRw, c.geneSl, c.geneL})
            text += formatHex(gene);
        // The reading wraps modulo 2^32; taking the remainder of the unsigned value
        // keeps V in 0..254 even for a text whose digits pass 2^31.
        number = static_cast<std::uint32_t>(parseDecimal(text));
    }
    const auto v = static_cast<std::int32_t>(number % 255u);
    return c.kind == 0 ? v * 65536 : v;
}

}  // namespace vivarix

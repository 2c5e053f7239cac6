#include "lab_stats.h"

#include <algorithm>
#include <vector>

#include "thousandths.h"

namespace vivarix::lab {

std::array<KindStats, 2> kindStats(const CreatureList& list) {
    std::array<KindStats, 2> stats;
    std::array<std::vector<std::int32_t>, 2> colours;
    for (const Creature* c = list.front(); c; c = CreatureList::after(c)) {
        if (c->kind != 0 && c->kind != 1) continue;
        const auto k = static_cast<std::size_t>(c->kind);
        KindStats& s = stats[k];
        s.creatures += 1;
        colours[k].push_back(c->colour);
        const std::int16_t genes[6] = {c->geneV, c->geneR, c->geneSr, c->geneRw, c->geneSl, c->geneL};
        for (std::size_t g = 0; g < 6; ++g) s.geneSums[g] += genes[g];
    }
    // Sorted, equal colours stand together; the first longest run is the smallest
    // of the most common colours.
    for (std::size_t k = 0; k < 2; ++k) {
        std::vector<std::int32_t>& all = colours[k];
        std::sort(all.begin(), all.end());
        for (auto run = all.begin(); run != all.end();) {
            const auto end = std::upper_bound(run, all.end(), *run);
            stats[k].strains += 1;
            if (end - run > stats[k].topCount) {
                stats[k].topCount = end - run;
                stats[k].topColour = *run;
            }
            run = end;
        }
    }
    return stats;
}

std::string statsHeader() {
    std::string header;
    for (const char* kind : {"0", "1"}) {
        header += std::string(",strains") + kind + ",top" + kind + ",topCount" + kind;
        for (const char* gene : {"0", "1", "2", "3", "4", "5"}) header += std::string(",gene") + kind + "_" + gene;
    }
    return header;
}

std::string statsColumns(const std::array<KindStats, 2>& stats) {
    std::string text;
    for (const KindStats& s : stats) {
        const bool any = s.creatures > 0;
        text += ',' + std::to_string(s.strains) + ',' + (any ? std::to_string(s.topColour) : "") + ',' +
                std::to_string(s.topCount);
        for (const std::int64_t sum : s.geneSums) text += ',' + (any ? thousandthsText(roundedThousandths(sum, s.creatures), false) : "");
    }
    return text;
}

}  // namespace vivarix::lab

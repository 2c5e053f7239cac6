#include "creature_series.h"

#include "sim/creature_text.h"

namespace vivarix::lab {

std::string creatureSeriesHeader() {
    return "tick,x,y,stomach,age,kind,colour,maxAge,stomachCapacity,sexMarker,maturityAge,stress,"
           "stressTolerance,kPoints,geneV,geneR,geneSr,geneRw,geneSl,geneL,direction\n";
}

void CreatureSeries::start(const Options& options) {
    if (!options.creaturesFile || !options.creaturesEvery) return;
    path_ = *options.creaturesFile;
    every_ = *options.creaturesEvery;
    file_.open(path_, std::ios::binary | std::ios::trunc);
    file_ << creatureSeriesHeader();
    if (!file_) failed_ = path_;
}

void CreatureSeries::after(std::uint64_t tick, std::uint64_t passes, const CreatureList& list) {
    if (every_ == 0 || !failed_.empty() || (tick % every_ != 0 && tick != passes)) return;
    // The dump's lines, each behind the tick, with commas for its spaces.
    const std::string prefix = std::to_string(tick) + ",";
    std::string rows = creaturesText(list);
    std::string text;
    text.reserve(rows.size() + list.size() * prefix.size());
    bool lineStart = true;
    for (const char c : rows) {
        if (lineStart) text += prefix;
        text.push_back(c == ' ' ? ',' : c);
        lineStart = c == '\n';
    }
    file_ << text;
    if (tick == passes) file_.flush();
    if (!file_) failed_ = path_;
}

}  // namespace vivarix::lab

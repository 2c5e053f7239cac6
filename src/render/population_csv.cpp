#include "render/population_csv.h"

namespace vivarix {

std::string historyCsv(const PopulationHistory& history) {
    // In the order of the columns; PopulationSeries order.
    constexpr const char* names[seriesCount] = {"blue", "red", "nutrient", "blue_strains", "red_strains"};
    std::string csv = "tick";
    for (const char* name : names) csv += std::string(",") + name;
    csv += ",first_tick";
    for (const char* name : names) csv += std::string(",") + name + "_min," + name + "_max";
    csv += '\n';
    for (const PopulationSample& s : historySamples(history)) {
        csv += std::to_string(s.lastTick);
        for (const Range& r : s.series) csv += ',' + std::to_string(r.last);
        csv += ',' + std::to_string(s.firstTick);
        for (const Range& r : s.series) csv += ',' + std::to_string(r.min) + ',' + std::to_string(r.max);
        csv += '\n';
    }
    return csv;
}

}  // namespace vivarix

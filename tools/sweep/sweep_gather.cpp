#include "sweep_gather.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <string_view>

#include "creature_series.h"
#include "lab_options.h"
#include "lab_run.h"
#include "thousandths.h"

namespace vivarix::sweep {

std::string meanColumn(std::size_t m) {
    const std::string kind = std::to_string(m / kindMeans);
    const std::size_t which = m % kindMeans;
    return which < 6 ? "gene" + kind + "_" + std::to_string(which) + "_mean" : "topShare" + kind + "_mean";
}

Spread spreadOf(std::vector<std::int64_t>& values) {
    std::sort(values.begin(), values.end());
    // The p-th percentile for p in tenths: rank (n - 1) * p / 10, exactly.
    auto percentileTenths = [&](std::size_t tenths) {
        const std::size_t scaled = (values.size() - 1) * tenths;
        const std::size_t low = scaled / 10;
        const auto fraction = static_cast<std::int64_t>(scaled % 10);
        const std::int64_t above = low + 1 < values.size() ? values[low + 1] : values[low];
        return values[low] * 10 + fraction * (above - values[low]);
    };
    std::int64_t sum = 0;
    for (const std::int64_t v : values) sum += v;
    return {lab::roundedThousandths(sum, static_cast<std::int64_t>(values.size())),
            values.front(),
            percentileTenths(1),
            percentileTenths(5),
            percentileTenths(9),
            values.back()};
}

std::string figure(std::int64_t thousandths) { return lab::thousandthsText(thousandths, true); }

namespace {

std::string readWhole(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// A count of the lab's CSV: a plain decimal number.
bool count(std::string_view text, std::int64_t& value) {
    const auto number = lab::parseUnsigned(text);
    if (!number || *number > static_cast<std::uint64_t>(INT64_MAX / 2000)) return false;
    value = static_cast<std::int64_t>(*number);
    return true;
}

// A gene mean of the lab's CSV ("12.345", or "-0.500") in thousandths.
bool thousandths(std::string_view text, std::int64_t& value) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || text.size() - point != 4) return false;
    std::int64_t whole = 0, fraction = 0;
    if (!count(text.substr(0, point), whole) || !count(text.substr(point + 1), fraction)) return false;
    value = (whole * 1000 + fraction) * (negative ? -1 : 1);
    return true;
}

// What a tick of one parameter set gathers over its runs.
struct TickSamples {
    std::array<std::vector<std::int64_t>, measures.size()> counts;
    std::array<std::int64_t, meanCount> sums{};
    std::array<std::int64_t, meanCount> runs{};
};
using Samples = std::map<std::uint64_t, TickSamples>;

// The columns a run's CSV is read at.
struct Columns {
    std::size_t fields = 0;
    std::array<std::size_t, measures.size()> counts{};
    std::array<std::size_t, 2> kind{}, topCount{};
    std::array<std::array<std::size_t, 6>, 2> genes{};
};

Columns columnsOf(std::string_view header) {
    const std::vector<std::string_view> names = lab::splitAt(header.substr(0, header.size() - 1), ',');
    auto at = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    Columns c;
    c.fields = names.size();
    for (std::size_t m = 0; m < measures.size(); ++m) c.counts[m] = at(measures[m]);
    for (std::size_t k = 0; k < 2; ++k) {
        c.kind[k] = at("kind" + std::to_string(k));
        c.topCount[k] = at("topCount" + std::to_string(k));
        for (std::size_t g = 0; g < 6; ++g) c.genes[k][g] = at("gene" + std::to_string(k) + "_" + std::to_string(g));
    }
    return c;
}

// Adds the data lines of one run's output to runs.csv and `samples`; false, with
// nothing added, when the output is not the lab's CSV.
bool gatherRun(std::string_view output, std::string_view expectedHeader, const Columns& columns,
               const std::string& prefix, std::string& runsCsv, Samples& samples) {
    if (output.substr(0, expectedHeader.size()) != expectedHeader) return false;
    struct Row {
        std::uint64_t tick = 0;
        std::array<std::int64_t, measures.size()> counts{};
        std::array<std::int64_t, meanCount> means{};
        std::array<bool, meanCount> present{};
    };
    std::vector<Row> rows;
    std::string_view rest = output.substr(expectedHeader.size());
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) return false;  // a cut line
        const std::vector<std::string_view> values = lab::splitAt(rest.substr(0, end), ',');
        rest.remove_prefix(end + 1);
        if (values.size() != columns.fields) return false;
        Row& row = rows.emplace_back();
        const auto tick = lab::parseUnsigned(values[0]);
        if (!tick) return false;
        row.tick = *tick;
        for (std::size_t m = 0; m < measures.size(); ++m)
            if (!count(values[columns.counts[m]], row.counts[m])) return false;
        for (std::size_t k = 0; k < 2; ++k) {
            std::int64_t creatures = 0, top = 0;
            if (!count(values[columns.kind[k]], creatures) || !count(values[columns.topCount[k]], top)) return false;
            if (creatures == 0) continue;  // the kind has no gene means and no strain
            for (std::size_t g = 0; g < 6; ++g)
                if (!thousandths(values[columns.genes[k][g]], row.means[k * kindMeans + g])) return false;
            row.means[k * kindMeans + 6] = lab::roundedThousandths(top, creatures);
            for (std::size_t m = 0; m < kindMeans; ++m) row.present[k * kindMeans + m] = true;
        }
    }
    for (std::string_view text = output.substr(expectedHeader.size()); !text.empty();) {
        const std::size_t end = text.find('\n');
        runsCsv += prefix;
        runsCsv.append(text.substr(0, end + 1));
        text.remove_prefix(end + 1);
    }
    for (const Row& row : rows) {
        TickSamples& s = samples[row.tick];
        for (std::size_t m = 0; m < measures.size(); ++m) s.counts[m].push_back(row.counts[m]);
        for (std::size_t m = 0; m < meanCount; ++m)
            if (row.present[m]) s.sums[m] += row.means[m], s.runs[m] += 1;
    }
    return true;
}

// The creature rows of one run, each behind `prefix`; false when the file is not
// --creatures-every's whole output.
bool gatherCreatures(const std::string& path, const std::string& prefix, gzFile into) {
    bool read = false;
    const std::string text = readWhole(path, read);
    const std::string header = lab::creatureSeriesHeader();
    if (!read || text.rfind(header, 0) != 0 || text.back() != '\n') return false;
    std::string rows;
    rows.reserve(text.size() + text.size() / 40 * prefix.size());
    for (std::size_t at = header.size(); at < text.size();) {
        const std::size_t end = text.find('\n', at);
        rows += prefix;
        rows.append(text, at, end + 1 - at);
        at = end + 1;
    }
    return rows.empty() || gzwrite(into, rows.data(), static_cast<unsigned>(rows.size())) > 0;
}

}  // namespace

Gathered gather(const Plan& plan, const Folder& folder, const std::vector<bool>& finished) {
    Gathered result;
    result.gathered.assign(runCount(plan), false);
    std::string header;
    for (const Dimension& d : plan.dimensions) header += d.column + ",";

    const std::string labHeader = lab::csvHeader(runOptions(plan, 0));
    const Columns columns = columnsOf(labHeader);
    std::string runsCsv = header + "seed," + labHeader;
    std::string summaryCsv = header + "tick,runs";
    for (const char* m : measures)
        for (const char* s : {"mean", "min", "p10", "median", "p90", "max"})
            summaryCsv += std::string(",") + m + "_" + s;
    for (std::size_t m = 0; m < meanCount; ++m) summaryCsv += "," + meanColumn(m);
    summaryCsv += "\n";

    gzFile creatures = nullptr;
    const std::string creaturesPath = plan.out + "/creatures.csv.gz";
    if (plan.creaturesEvery) {
        // Fast compression: the rows are many, and gathering must keep up with them.
        creatures = gzopen(creaturesPath.c_str(), "wb1");
        const std::string creaturesHeader = header + "seed," + lab::creatureSeriesHeader();
        if (!creatures || gzputs(creatures, creaturesHeader.c_str()) < 0) result.error = "cannot write " + creaturesPath;
    }

    for (std::size_t c = 0; c < combinations(plan); ++c) {
        std::string values;
        const std::vector<std::size_t> chosen = combinationValues(plan, c);
        for (std::size_t d = 0; d < plan.dimensions.size(); ++d) values += plan.dimensions[d].values[chosen[d]] + ",";
        Samples samples;
        for (std::size_t s = 0; s < plan.seeds.size(); ++s) {
            const std::size_t run = c * plan.seeds.size() + s;
            const std::string file = plan.out + "/" + runFile(folder.number[run]);
            if (!finished[folder.number[run] - 1]) continue;
            bool read = false;
            const std::string output = readWhole(file, read);
            const std::string prefix = values + std::to_string(plan.seeds[s]) + ",";
            std::string runLines;
            Samples runSamples;
            if (!read || !gatherRun(output, labHeader, columns, prefix, runLines, runSamples)) {
                result.refused.push_back("run " + std::to_string(run + 1) +
                                         ": its output is not vivarix-lab's CSV with --stats (" + file + ")");
                continue;
            }
            if (creatures && result.error.empty() && !gatherCreatures(file + ".creatures.csv", prefix, creatures)) {
                result.refused.push_back("run " + std::to_string(run + 1) +
                                         ": its creatures are missing or cut short (" + file + ".creatures.csv)");
                continue;
            }
            runsCsv += runLines;
            for (auto& [tick, s] : runSamples) {
                TickSamples& into = samples[tick];
                for (std::size_t m = 0; m < measures.size(); ++m)
                    into.counts[m].insert(into.counts[m].end(), s.counts[m].begin(), s.counts[m].end());
                for (std::size_t m = 0; m < meanCount; ++m) into.sums[m] += s.sums[m], into.runs[m] += s.runs[m];
            }
            result.gathered[run] = true;
        }
        for (auto& [tick, s] : samples) {
            SummaryRow& row = result.summary.emplace_back();
            row.combination = c;
            row.tick = tick;
            row.runs = s.counts[0].size();
            summaryCsv += values + std::to_string(tick) + "," + std::to_string(row.runs);
            for (std::size_t m = 0; m < measures.size(); ++m) {
                const Spread& spread = row.spread[m] = spreadOf(s.counts[m]);
                summaryCsv += "," + figure(spread.meanThousandths) + "," + std::to_string(spread.min) + "," +
                              tenthsFigure(spread.p10Tenths) + "," + tenthsFigure(spread.medianTenths) + "," +
                              tenthsFigure(spread.p90Tenths) + "," + std::to_string(spread.max);
            }
            for (std::size_t m = 0; m < meanCount; ++m) {
                Mean& mean = row.means[m];
                mean.any = s.runs[m] > 0;
                // Thousandths over runs: the quotient rounded half up to a whole thousandth.
                if (mean.any) mean.thousandths = lab::roundedThousandths(s.sums[m], s.runs[m] * 1000);
                summaryCsv += "," + (mean.any ? figure(mean.thousandths) : "");
            }
            summaryCsv += "\n";
        }
    }
    if (creatures && gzclose(creatures) != Z_OK && result.error.empty()) result.error = "cannot write " + creaturesPath;
    for (const auto& [name, text] : {std::pair{"runs.csv", &runsCsv}, {"summary.csv", &summaryCsv}})
        if (!writeWhole(plan.out + "/" + name, *text)) result.error = "cannot write " + plan.out + "/" + name;
    return result;
}

}  // namespace vivarix::sweep

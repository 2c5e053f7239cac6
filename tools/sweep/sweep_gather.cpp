#include "sweep_gather.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string_view>

#include "lab_options.h"
#include "lab_run.h"

namespace vivarix::sweep {

std::string runOutputPath(const Plan& plan, std::size_t run) { return plan.out + "/runs/" + std::to_string(run + 1); }

Spread spreadOf(std::vector<std::int64_t>& values) {
    std::sort(values.begin(), values.end());
    // The p-th percentile for p in tenths: rank (n - 1) * p / 10, exactly.
    auto percentile = [&](std::size_t tenths) {
        const std::size_t scaled = (values.size() - 1) * tenths;
        const std::size_t low = scaled / 10;
        const double fraction = static_cast<double>(scaled % 10) / 10;
        const std::int64_t above = low + 1 < values.size() ? values[low + 1] : values[low];
        return static_cast<double>(values[low]) + fraction * static_cast<double>(above - values[low]);
    };
    std::int64_t sum = 0;
    for (const std::int64_t v : values) sum += v;
    return {static_cast<double>(sum) / static_cast<double>(values.size()),
            values.front(),
            percentile(1),
            percentile(5),
            percentile(9),
            values.back()};
}

std::string figure(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string result = text;
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.') result.pop_back();
    return result == "-0" ? "0" : result;
}

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
    if (!number || *number > static_cast<std::uint64_t>(INT64_MAX)) return false;
    value = static_cast<std::int64_t>(*number);
    return true;
}

// The values of every measure per tick, for the runs of one parameter set.
using Samples = std::map<std::uint64_t, std::array<std::vector<std::int64_t>, measures.size()>>;

// Adds the data lines of one run's output to runs.csv and `samples`; false, with
// nothing added, when the output is not the lab's CSV.
bool gatherRun(std::string_view output, std::string_view expectedHeader, const std::string& prefix,
               std::string& runsCsv, Samples& samples) {
    if (output.substr(0, expectedHeader.size()) != expectedHeader) return false;
    const std::vector<std::string_view> names = lab::splitAt(expectedHeader.substr(0, expectedHeader.size() - 1), ',');
    std::array<std::size_t, measures.size()> columns{};
    for (std::size_t m = 0; m < measures.size(); ++m)
        columns[m] = static_cast<std::size_t>(std::find(names.begin(), names.end(), measures[m]) - names.begin());

    std::vector<std::pair<std::uint64_t, std::array<std::int64_t, measures.size()>>> rows;
    std::string_view rest = output.substr(expectedHeader.size());
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) return false;  // a cut line
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const std::vector<std::string_view> values = lab::splitAt(line, ',');
        if (values.size() != names.size()) return false;
        auto& row = rows.emplace_back();
        const auto tick = lab::parseUnsigned(values[0]);
        if (!tick) return false;
        row.first = *tick;
        for (std::size_t m = 0; m < measures.size(); ++m)
            if (!count(values[columns[m]], row.second[m])) return false;
    }
    for (std::string_view text = output.substr(expectedHeader.size()); !text.empty();) {
        const std::size_t end = text.find('\n');
        runsCsv += prefix;
        runsCsv.append(text.substr(0, end + 1));
        text.remove_prefix(end + 1);
    }
    for (const auto& [tick, values] : rows)
        for (std::size_t m = 0; m < measures.size(); ++m) samples[tick][m].push_back(values[m]);
    return true;
}

}  // namespace

Gathered gather(const Plan& plan, const std::vector<bool>& finished) {
    Gathered result;
    result.gathered.assign(runCount(plan), false);
    std::string header, summaryCsv;
    for (const Dimension& d : plan.dimensions) header += d.column + ",";

    std::string runsCsv = header + "seed," + lab::csvHeader(runOptions(plan, 0));
    summaryCsv = header + "tick,runs";
    for (const char* m : measures)
        for (const char* s : {"mean", "min", "p10", "median", "p90", "max"})
            summaryCsv += std::string(",") + m + "_" + s;
    summaryCsv += "\n";

    for (std::size_t c = 0; c < combinations(plan); ++c) {
        std::string values;
        const std::vector<std::size_t> chosen = combinationValues(plan, c);
        for (std::size_t d = 0; d < plan.dimensions.size(); ++d) values += plan.dimensions[d].values[chosen[d]] + ",";
        Samples samples;
        for (std::size_t s = 0; s < plan.seeds.size(); ++s) {
            const std::size_t run = c * plan.seeds.size() + s;
            if (!finished[run]) continue;
            bool read = false;
            const std::string output = readWhole(runOutputPath(plan, run), read);
            const std::string expected = lab::csvHeader(runOptions(plan, run));
            const std::string prefix = values + std::to_string(plan.seeds[s]) + ",";
            result.gathered[run] = read && gatherRun(output, expected, prefix, runsCsv, samples);
            if (!result.gathered[run])
                result.refused.push_back("run " + std::to_string(run + 1) +
                                         ": its output is not vivarix-lab's CSV with --stats (" +
                                         runOutputPath(plan, run) + ")");
        }
        for (auto& [tick, perMeasure] : samples) {
            SummaryRow& row = result.summary.emplace_back();
            row.combination = c;
            row.tick = tick;
            row.runs = perMeasure[0].size();
            summaryCsv += values + std::to_string(tick) + "," + std::to_string(row.runs);
            for (std::size_t m = 0; m < measures.size(); ++m) {
                row.spread[m] = spreadOf(perMeasure[m]);
                const Spread& s = row.spread[m];
                summaryCsv += "," + figure(s.mean) + "," + std::to_string(s.min) + "," + figure(s.p10) + "," +
                              figure(s.median) + "," + figure(s.p90) + "," + std::to_string(s.max);
            }
            summaryCsv += "\n";
        }
    }
    for (const auto& [name, text] : {std::pair{"runs.csv", &runsCsv}, {"summary.csv", &summaryCsv}})
        if (!writeWhole(plan.out + "/" + name, *text)) result.error = "cannot write " + plan.out + "/" + name;
    return result;
}

}  // namespace vivarix::sweep

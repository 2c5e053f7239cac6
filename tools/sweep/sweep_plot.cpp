#include "sweep_plot.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "sweep_process.h"

namespace vivarix::sweep {

namespace {

// A gnuplot string in single quotes, in which '' stands for one quote.
std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("''") : std::string(1, c);
    return result + "'";
}

// Each kind's columns in the data blocks: p10, median, p90 from p10Column on.
struct Curve {
    const char* name;
    const char* colour;
    int p10Column;
};
constexpr Curve kinds[] = {{"blue", "#1e3cdc", 2}, {"red", "#dc2828", 5}};

}  // namespace

std::string plotScript(const Plan& plan, const std::vector<SummaryRow>& summary, const std::string& png) {
    std::vector<std::size_t> sets;  // combinations with rows, in order
    double top = 0;
    std::uint64_t lastTick = 0;
    bool singleTicks = true;  // no set has a curve, only points
    for (const SummaryRow& row : summary) {
        if (sets.empty() || sets.back() != row.combination)
            sets.push_back(row.combination);
        else
            singleTicks = false;
        top = std::max({top, row.spread[0].p90, row.spread[1].p90});
        lastTick = std::max(lastTick, row.tick);
    }
    const std::size_t columns = sets.empty() ? 1 : static_cast<std::size_t>(std::ceil(std::sqrt(sets.size())));
    const std::size_t rows = sets.empty() ? 1 : (sets.size() + columns - 1) / columns;
    const bool one = sets.size() <= 1;

    std::string script =
        "# Drawn by vivarix-sweep from summary.csv: per parameter set, the median number\n"
        "# of creatures of each kind and the band from the 10th to the 90th percentile of\n"
        "# the runs.  Run `gnuplot population.gp` to draw it again.\n";
    script += "set terminal pngcairo size " + std::to_string(columns * (one ? 720 : 480)) + "," +
              std::to_string(rows * (one ? 405 : 300)) + " font \",9\"\n";
    script += "set output " + quoted(png) + "\n";
    for (std::size_t i = 0; i < sets.size(); ++i) {
        script += "$set" + std::to_string(i) + " << EOD\n# tick p10_0 median_0 p90_0 p10_1 median_1 p90_1\n";
        for (const SummaryRow& row : summary) {
            if (row.combination != sets[i]) continue;
            script += std::to_string(row.tick);
            for (const Spread& s : {row.spread[0], row.spread[1]})
                script += " " + figure(s.p10) + " " + figure(s.median) + " " + figure(s.p90);
            script += "\n";
        }
        script += "EOD\n";
    }
    // Points clear of the right edge.
    const std::uint64_t xEnd = singleTicks ? lastTick + lastTick / 10 + 1 : std::max<std::uint64_t>(lastTick, 1);
    script += "set xrange [0:" + std::to_string(xEnd) + "]\n";
    script += "set yrange [0:" + figure(top > 0 ? std::ceil(top * 1.05) : 1) + "]\n";
    script += "set xlabel 'ticks'\nset ylabel 'creatures'\nset grid\nset key below horizontal\n";
    if (sets.empty()) script += "set label 'no finished run' at graph 0.5, 0.5 center\nplot NaN notitle\n";
    if (!one) script += "set multiplot layout " + std::to_string(rows) + "," + std::to_string(columns) + "\n";
    for (std::size_t i = 0; i < sets.size(); ++i) {
        std::string title;
        const std::vector<std::size_t> values = combinationValues(plan, sets[i]);
        for (std::size_t d = 0; d < plan.dimensions.size(); ++d)
            title += plan.dimensions[d].column + " " + plan.dimensions[d].values[values[d]] + ", ";
        std::size_t runs = 0, points = 0;
        for (const SummaryRow& row : summary)
            if (row.combination == sets[i]) runs = std::max(runs, row.runs), points += 1;
        title += std::to_string(runs) + (runs == 1 ? " run" : " runs");
        // A single tick has no line to draw: its median is a point.
        const std::string median = points == 1 ? "linespoints pt 7 ps 1.2" : "lines";
        const std::string data = "$set" + std::to_string(i);
        script += "set title " + quoted(title) + "\nplot ";
        for (const Curve& kind : kinds) {
            const std::string p10 = std::to_string(kind.p10Column);
            script += data + " using 1:" + p10 + ":" + std::to_string(kind.p10Column + 2) +
                      " with filledcurves fc rgb '" + kind.colour + "' fs transparent solid 0.2 noborder title '" +
                      kind.name + " 10-90%', \\\n     " + data + " using 1:" + std::to_string(kind.p10Column + 1) +
                      " with " + median + " lc rgb '" + kind.colour + "' lw 2 title '" + kind.name + " median'" +
                      (&kind == &kinds[0] ? ", \\\n     " : "\n");
        }
    }
    if (!one) script += "unset multiplot\n";
    return script;
}

std::string drawPopulation(const Plan& plan, const std::vector<SummaryRow>& summary) {
    const std::string scriptPath = plan.out + "/population.gp";
    {
        std::ofstream file(scriptPath, std::ios::binary);
        file << plotScript(plan, summary, plan.out + "/population.png");
        if (!file.flush()) return "cannot write " + scriptPath;
    }
    if (!findProgram("gnuplot")) return "population.png not drawn: gnuplot is not installed (Debian gnuplot-nox)";
    const int status = runProgram({"gnuplot", scriptPath}, "/dev/null", "/dev/null");
    if (status != 0)
        return "population.png not drawn: gnuplot " + scriptPath + " failed (" + describeStatus(status) + ")";
    return {};
}

}  // namespace vivarix::sweep

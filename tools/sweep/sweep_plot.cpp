#include "sweep_plot.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/core/kind_colours.h"
#include "sweep_process.h"

namespace vivarix::sweep {

namespace {

// A gnuplot string in single quotes, in which '' stands for one quote.
std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("''") : std::string(1, c);
    return result + "'";
}

struct Kind {
    const char* name;
    const char* colour;
};
constexpr Kind kinds[] = {{"blue", kindChartColour[0]}, {"red", kindChartColour[1]}};

constexpr const char* geneNames[] = {"V", "R", "Sr", "Rw", "Sl", "L"};

// A figure's panels in pixels, and the room around them: for the axes' labels
// at the left and below, the right axis, the titles, and the legend under
// everything.
struct Frame {
    int panelWidth, panelHeight;
    int rightRoom, gapX, gapY;
};
constexpr int leftRoom = 95, bottomRoom = 120, topRoom = 40;
constexpr Frame countFrame = {640, 400, 30, 100, 115}, strainsFrame = {640, 400, 60, 140, 115},
                geneFrame = {360, 280, 30, 100, 125};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string thousandths(std::int64_t value) { return figure(value); }
std::string tenths(std::int64_t value) { return tenthsFigure(value); }

// The swept values of a combination, as a panel's title gives them.
std::string setTitle(const Plan& plan, std::size_t combination) {
    std::string title;
    const std::vector<std::size_t> values = combinationValues(plan, combination);
    for (std::size_t d = 0; d < plan.dimensions.size(); ++d)
        title += (title.empty() ? "" : ", ") + plan.dimensions[d].column + " " + plan.dimensions[d].values[values[d]];
    return title;
}

// The layout: `count` panels in rows of `columns`, with the legend below.
std::string layout(std::size_t count, std::size_t columns, const Frame& f) {
    const std::size_t rows = (count + columns - 1) / columns;
    const int width =
        leftRoom + f.rightRoom + static_cast<int>(columns) * f.panelWidth + static_cast<int>(columns - 1) * f.gapX;
    const int height =
        topRoom + bottomRoom + static_cast<int>(rows) * f.panelHeight + static_cast<int>(rows - 1) * f.gapY;
    auto fraction = [](int pixels, int of) { return number(static_cast<double>(pixels) / of); };
    return "set terminal pngcairo size " + std::to_string(width) + "," + std::to_string(height) +
           " font 'Sans,12'\n"
           "set multiplot layout " +
           std::to_string(rows) + "," + std::to_string(columns) + " margins " + fraction(leftRoom, width) + "," +
           fraction(width - f.rightRoom, width) + "," + fraction(bottomRoom, height) + "," +
           fraction(height - topRoom, height) + " spacing " + fraction(f.gapX, width) + "," + fraction(f.gapY, height) +
           "\n";
}

// The legend of the whole figure, set before its first panel and unset after:
// each kind's entries in a column of `rows`.
std::string legend(int rows) {
    return "set key at screen 0.5, screen 0.01 center bottom vertical maxrows " + std::to_string(rows) +
           " samplen 2 font ',12'\n";
}

}  // namespace

const char* figureName(Figure figure) {
    switch (figure) {
    case Figure::population: return "population";
    case Figure::strains: return "strains";
    case Figure::genes: return "genes";
    }
    return "";
}

std::string plotScript(const Plan& plan, const std::vector<SummaryRow>& summary, Figure figure) {
    const std::string name = figureName(figure);
    // The combinations with rows, in order, and their rows.
    std::vector<std::vector<const SummaryRow*>> sets;
    std::vector<std::size_t> combination;
    double top = 0, geneLow = 0, geneHigh = 0;
    bool anyGene = false;
    std::uint64_t lastTick = 0;
    const std::size_t first = figure == Figure::strains ? 2 : 0;  // the counts drawn
    for (const SummaryRow& row : summary) {
        if (combination.empty() || combination.back() != row.combination) {
            combination.push_back(row.combination);
            sets.emplace_back();
        }
        sets.back().push_back(&row);
        for (std::size_t k = 0; k < 2; ++k) top = std::max(top, row.spread[first + k].p90Tenths / 10.0);
        for (std::size_t k = 0; k < 2; ++k)
            for (std::size_t g = 0; g < 6; ++g) {
                const Mean& m = row.means[k * kindMeans + g];
                if (!m.any) continue;
                const double value = m.thousandths / 1000.0;
                geneLow = anyGene ? std::min(geneLow, value) : value;
                geneHigh = anyGene ? std::max(geneHigh, value) : value;
                anyGene = true;
            }
        lastTick = std::max(lastTick, row.tick);
    }
    const bool points = std::all_of(sets.begin(), sets.end(), [](const auto& rows) { return rows.size() == 1; });

    std::string script = "# Drawn by vivarix-sweep from summary.csv; `gnuplot " + name +
                         ".gp` in the sweep's folder draws " + name + ".png again.\n";
    switch (figure) {
    case Figure::population:
        script += "# Per parameter set, the median number of creatures of each kind and the band\n"
                  "# from the 10th to the 90th percentile of the runs.\n";
        break;
    case Figure::strains:
        script += "# Per parameter set, the median number of strains (distinct colours) of each\n"
                  "# kind, the band from the 10th to the 90th percentile of the runs, and on the\n"
                  "# right axis the mean share of the kind's creatures in its most common strain.\n";
        break;
    case Figure::genes:
        script += "# Per parameter set and gene, the mean over the runs of each kind's mean gene.\n";
        break;
    }
    if (plan.log && figure != Figure::genes)
        script += "# The counts' axis is logarithmic; counts below 1 are drawn on its floor, 1.\n";
    for (std::size_t i = 0; i < sets.size(); ++i) {
        script += "$set" + std::to_string(i) + " << EOD\n";
        for (const SummaryRow* row : sets[i]) {
            script += std::to_string(row->tick);
            if (figure == Figure::genes) {
                for (const Mean& m : row->means) script += " " + (m.any ? thousandths(m.thousandths) : "NaN");
            } else {
                for (std::size_t k = 0; k < 2; ++k) {
                    const Spread& s = row->spread[first + k];
                    script += " " + tenths(s.p10Tenths) + " " + tenths(s.medianTenths) + " " + tenths(s.p90Tenths);
                }
                if (figure == Figure::strains)
                    for (std::size_t k = 0; k < 2; ++k) {
                        const Mean& share = row->means[k * kindMeans + 6];
                        script += " " + (share.any ? thousandths(share.thousandths) : "NaN");
                    }
            }
            script += "\n";
        }
        script += "EOD\n";
    }
    script += "set output '" + name + ".png'\n";
    const bool genes = figure == Figure::genes;
    const std::size_t panels = std::max<std::size_t>(sets.size(), 1) * (genes ? 6 : 1);
    const std::size_t columns = genes ? 6 : static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(panels))));
    script += layout(panels, columns, genes ? geneFrame : figure == Figure::strains ? strainsFrame : countFrame);
    // Points clear of the right edge.
    const std::uint64_t xEnd = points ? lastTick + lastTick / 10 + 1 : std::max<std::uint64_t>(lastTick, 1);
    script += "set xrange [0:" + std::to_string(xEnd) + "]\nset xlabel 'ticks'\nset grid\n";
    if (genes) {
        // Whole tenths around every mean, the same for every panel.
        const double low = std::floor(geneLow * 10) / 10, high = std::ceil(geneHigh * 10) / 10;
        script += "set ylabel 'mean gene'\nset yrange [" + number(low) + ":" + number(high > low ? high : low + 1) +
                  "]\n";
    } else if (plan.log) {
        script += "set logscale y\nset yrange [1:" + number(std::max(10.0, top * 1.5)) + "]\n";
        script += "floor1(y) = y < 1 ? 1 : y\n";
    } else {
        script += "set yrange [0:" + number(top > 0 ? std::ceil(top * 1.05) : 1) + "]\n";
    }
    if (figure == Figure::population) script += "set ylabel 'creatures'\n";
    if (figure == Figure::strains)
        script += "set ylabel 'strains'\nset y2range [0:1]\nset y2tics 0.2\nset ytics nomirror\n";
    if (sets.empty()) {
        script += "set label 'no finished run' at graph 0.5, 0.5 center\nunset key\nplot NaN notitle\n";
        return script + "unset multiplot\n";
    }
    script += legend(genes ? 1 : figure == Figure::strains ? 3 : 2);
    auto y = [&](int column) {
        const std::string c = std::to_string(column);
        return plan.log && !genes ? "(floor1($" + c + "))" : c;
    };
    for (std::size_t i = 0; i < sets.size(); ++i) {
        std::size_t runs = 0;
        for (const SummaryRow* row : sets[i]) runs = std::max(runs, row->runs);
        const std::string title = setTitle(plan, combination[i]);
        const std::string data = "$set" + std::to_string(i);
        const std::string lineStyle = sets[i].size() == 1 ? "linespoints pt 7 ps 1.2" : "lines";
        if (genes) {
            for (std::size_t g = 0; g < 6; ++g) {
                script += "set title " + quoted(std::string("gene ") + geneNames[g] + (title.empty() ? "" : ", " + title)) +
                          "\nplot ";
                for (std::size_t k = 0; k < 2; ++k)
                    script += std::string(k ? ", \\\n     " : "") + data + " using 1:" +
                              std::to_string(2 + k * kindMeans + g) + " with " + lineStyle + " lc rgb '" +
                              kinds[k].colour + "' lw 2 title '" + kinds[k].name + " mean'";
                script += "\n";
                if (i == 0 && g == 0) script += "unset key\n";
            }
            continue;
        }
        script += "set title " + quoted((title.empty() ? "" : title + ", ") + std::to_string(runs) +
                                        (runs == 1 ? " run" : " runs")) +
                  "\nplot ";
        for (std::size_t k = 0; k < 2; ++k) {
            const int p10 = 2 + 3 * static_cast<int>(k);
            const std::string colour = std::string("lc rgb '") + kinds[k].colour + "'";
            // The band's fill shows where one kind's runs lie; its edges, dashed, keep
            // both bands apart where they overlap.
            script += std::string(k ? ", \\\n     " : "") + data + " using 1:" + y(p10) + ":" + y(p10 + 2) +
                      " with filledcurves fc rgb '" + kinds[k].colour + "' fs transparent solid 0.15 noborder title '" +
                      kinds[k].name + " 10-90%', \\\n     " + data + " using 1:" + y(p10) + " with lines " +
                      colour + " lw 1 dt 2 notitle, \\\n     " + data + " using 1:" + y(p10 + 2) + " with lines " +
                      colour + " lw 1 dt 2 notitle, \\\n     " + data + " using 1:" + y(p10 + 1) + " with " +
                      lineStyle + " " + colour + " lw 2 title '" + kinds[k].name + " median'";
            if (figure == Figure::strains)
                script += std::string(", \\\n     ") + data + " using 1:" + std::to_string(8 + k) +
                          " axes x1y2 with " + lineStyle + " " + colour + " lw 2 dt 3 title '" + kinds[k].name +
                          " top share, right axis'";
        }
        script += "\n";
        if (i == 0) script += "unset key\n";
    }
    return script + "unset multiplot\n";
}

std::string drawFigures(const Plan& plan, const std::vector<SummaryRow>& summary) {
    std::string problem;
    const bool gnuplot = findProgram("gnuplot").has_value();
    for (const Figure figure : {Figure::population, Figure::strains, Figure::genes}) {
        const std::string name = figureName(figure), script = name + ".gp";
        {
            std::ofstream file(plan.out + "/" + script, std::ios::binary);
            file << plotScript(plan, summary, figure);
            if (!file.flush()) return "cannot write " + plan.out + "/" + script;
        }
        if (!gnuplot) return "the pictures are not drawn: gnuplot is not installed (Debian gnuplot-nox)";
        // gnuplot's warnings (a flat curve's "empty y range") are not the user's concern.
        const Captured c = capture({"gnuplot", script}, plan.out);
        if (c.status != 0 && problem.empty())
            problem = name + ".png not drawn: gnuplot " + script + " in " + plan.out + " failed (" +
                      describeStatus(c.status) + "): " + c.err.substr(0, c.err.find('\n'));
    }
    return problem;
}

}  // namespace vivarix::sweep

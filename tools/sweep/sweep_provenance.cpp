#include "sweep_provenance.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/version.h"
#include "sweep_process.h"

namespace vivarix::sweep {

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

namespace {

std::string jsonList(const std::vector<std::string>& items) {
    std::string text = "[";
    for (const std::string& item : items) text += (text.size() > 1 ? ", " : "") + jsonString(item);
    return text + "]";
}

constexpr const char* entryIndent = "    ";

}  // namespace

std::vector<std::string> readEarlier(const std::string& out) {
    std::ifstream file(std::filesystem::path(out) / "sweep.json");
    std::vector<std::string> entries;
    std::string entry;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(entryIndent, 0) != 0) continue;  // the frame
        if (line == "    }," || line == "    }") {
            entries.push_back(entry + "    }");
            entry.clear();
        } else {
            entry += line + "\n";
        }
    }
    return entries;
}

std::string writeProvenance(const Plan& plan, const Provenance& p, const std::vector<std::string>& earlier) {
    std::string swept = "{";
    for (const Dimension& d : plan.dimensions)
        swept += (swept.size() > 1 ? ", " : "") + jsonString(d.column) + ": " + jsonList(d.values);
    swept += "}";
    std::string fixed = "[";
    for (const LabArgument& a : plan.arguments) {
        if (a.dimension) continue;
        std::vector<std::string> pair = {a.option};
        if (a.value) pair.push_back(*a.value);
        fixed += (fixed.size() > 1 ? ", " : "") + jsonList(pair);
    }
    fixed += "]";
    std::string where;
    if (plan.slurm)
        where = "\"slurm\": {\"jobs\": " + jsonList(p.slurmJobs) + ", \"options\": " + jsonList(plan.slurmOptions) + "}";
    else if (plan.hosts)
        where = "\"hosts\": " + jsonList(p.hosts);
    else
        where = "\"hosts\": [\":\"]";

    std::string text = "{\n  \"sweeps\": [\n";
    for (const std::string& e : earlier) text += e + ",\n";
    text += std::string(entryIndent) + "{\n";
    const std::string field = std::string(entryIndent) + "  ";
    text += field + "\"version\": " + jsonString(versionText()) + ",\n";
    text += field + "\"command\": " + jsonList(p.command) + ",\n";
    text += field + "\"start\": " + jsonString(p.start) + ",\n";
    text += field + "\"end\": " + (p.end.empty() ? "null" : jsonString(p.end)) + ",\n";
    text += field + where + ",\n";
    text += field + "\"runs\": {\"folder\": " + std::to_string(p.runs) + ", \"added\": " + std::to_string(p.added) +
            ", \"done\": " + std::to_string(p.done) + ", \"failed\": " + std::to_string(p.failed) + "},\n";
    text += field + "\"parameters\": {\"seeds\": " + jsonString(plan.seedsText) + ", \"swept\": " + swept +
            ", \"fixed\": " + fixed + ", \"creatures_every\": " +
            (plan.creaturesEvery ? std::to_string(*plan.creaturesEvery) : "null") + "}\n";
    text += std::string(entryIndent) + "}\n  ]\n}\n";

    const std::string path = plan.out + "/sweep.json", part = path + ".part";
    std::ofstream file(part, std::ios::binary);
    file << text;
    std::error_code error;
    if (!file.flush()) return "cannot write " + part;
    file.close();
    std::filesystem::rename(part, path, error);
    return error ? "cannot write " + path : "";
}

std::vector<std::string> hostLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> hosts;
    for (std::string line; std::getline(file, line);) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos && line[first] != '#') hosts.push_back(line.substr(first));
    }
    return hosts;
}

std::string expectedLabVersion() {
    std::string line = versionLine("vivarix-lab");
    line.pop_back();
    return line;
}

std::string checkLabVersions(const Plan& plan, const std::string& lab, const std::string& parallel) {
    const std::string expected = expectedLabVersion();
    auto firstLine = [](const std::string& text) { return text.substr(0, text.find('\n')); };
    if (!plan.hosts) {
        const Captured c = capture({lab, "--version"});
        const std::string answer = firstLine(c.out);
        if (answer == expected) return {};
        return lab + " --version " +
               (answer.empty() ? "printed nothing (" + describeStatus(c.status) + ")" : "says " + answer) +
               ", not " + expected;
    }
    const std::size_t hosts = hostLines(*plan.hosts).size();
    const Captured c = capture({parallel, "--will-cite", "--nonall", "--tag", "--sshloginfile",
                                std::filesystem::absolute(*plan.hosts).string(), shellQuoted(lab) + " --version"});
    std::istringstream lines(c.out);
    std::size_t agreed = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        const std::string answer = tab == std::string::npos ? line : line.substr(tab + 1);
        if (answer == expected) {
            agreed += 1;
            continue;
        }
        return "the host " + line.substr(0, tab) + " has " + answer + ", not " + expected;
    }
    if (agreed < hosts)
        return std::to_string(hosts - agreed) + " of " + std::to_string(hosts) + " hosts did not answer " + lab +
               " --version: " + firstLine(c.err);
    return {};
}

}  // namespace vivarix::sweep

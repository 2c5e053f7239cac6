#include "sweep_record.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace vivarix::sweep {

namespace fs = std::filesystem;

namespace {

constexpr const char* recordHeader = "vivarix-sweep: the runs of this folder; the same sweep again resumes them\n";

bool writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[65536];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// The record's keys in folder order; the lines of older folders are the runs'
// arguments in command-line order, which canonicalKey orders.
std::vector<std::string> recordedKeys(const std::string& record) {
    std::vector<std::string> keys;
    std::size_t start = record.find('\n');
    while (start != std::string::npos && start + 1 < record.size()) {
        const std::size_t end = record.find('\n', start + 1);
        if (end == std::string::npos) break;  // a line cut short is no run
        std::vector<std::string> words;
        for (const std::string_view word : lab::splitAt(std::string_view(record).substr(start + 1, end - start - 1), ' '))
            words.emplace_back(word);
        keys.push_back(canonicalKey(words));
        start = end;
    }
    return keys;
}

}  // namespace

FolderLock::~FolderLock() {
    if (fd >= 0) ::close(fd);
}

std::string runFile(std::size_t number) { return "runs/" + std::to_string(number); }

std::string openFolder(const Plan& plan, FolderLock& lock, Folder& folder) {
    const fs::path dir = plan.out;
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_directory(dir, error)) return plan.out + " is not a folder";
    if (!fs::exists(dir / "sweep", error) && fs::exists(dir, error) && !fs::is_empty(dir, error))
        return plan.out + " is not empty and holds no sweep; choose a new or empty folder";
    fs::create_directories(dir / "runs", error);
    if (error) return "cannot create " + plan.out;
    lock.fd = ::open((dir / "sweep").c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (lock.fd < 0) return "cannot create " + plan.out + "/sweep";
    if (::flock(lock.fd, LOCK_EX | LOCK_NB) != 0) return plan.out + " is in use by another vivarix-sweep";

    const std::string record = readAll(lock.fd);
    if (!record.empty() && record.rfind(recordHeader, 0) != 0)
        return plan.out + "/sweep is not a sweep's record; choose another --out";
    const std::vector<std::string> keys = recordedKeys(record);
    std::map<std::string, std::size_t> numbers;
    for (std::size_t i = 0; i < keys.size(); ++i) numbers.emplace(keys[i], i + 1);

    const std::size_t runs = runCount(plan);
    folder.number.assign(runs, 0);
    folder.run.assign(keys.size(), runs);
    std::string added = record.empty() ? recordHeader : "";
    for (std::size_t r = 0; r < runs; ++r) {
        const std::string key = runKey(plan, r);
        if (const auto known = numbers.find(key); known != numbers.end()) {
            folder.number[r] = known->second;
            folder.run[known->second - 1] = r;
            continue;
        }
        folder.number[r] = folder.run.size() + 1;
        folder.run.push_back(r);
        added += key + "\n";
        folder.added += 1;
    }
    for (const std::size_t r : folder.run)
        if (r == runs)
            return plan.out + " holds the results of another sweep (its runs differ); choose another --out";
    if (!writeAll(lock.fd, added)) return "cannot write " + plan.out + "/sweep";

    std::string command;
    for (const std::string& word : plan.command) command += word + "\n";
    std::ofstream file(dir / "command", std::ios::binary);
    file << command;
    if (!file.flush()) return "cannot write " + plan.out + "/command";
    return {};
}

std::vector<std::string> recordedCommand(const std::string& out) {
    std::ifstream file(fs::path(out) / "command", std::ios::binary);
    std::vector<std::string> words;
    for (std::string line; std::getline(file, line);) words.push_back(line);
    return words;
}

}  // namespace vivarix::sweep

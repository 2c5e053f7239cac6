#include "app/save_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vivarix {

bool writeWholeFile(const std::string& path, std::string_view text) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written;
}

void saveThroughDialog(Desktop& desktop, std::string_view title, std::string_view suggestedName,
                       std::string_view what, const std::function<bool(const std::string& path)>& save) {
    const std::string path = desktop.askSaveFileName(title, suggestedName);
    if (path.empty()) return;
    errno = 0;
    if (save(path)) return;
    const std::string why = errno != 0 ? std::strerror(errno) : "the file could not be written";
    desktop.messageBox("Vivarix", std::string(what) + " could not be saved to " + path + ": " + why + ".");
}

}  // namespace vivarix

#include "app/save_file.h"

namespace vivarix {

void saveThroughDialog(Desktop& desktop, std::string_view title, std::string_view suggestedName,
                       std::string_view what, const std::function<FileResult(const std::string& path)>& save) {
    const std::string path = desktop.askSaveFileName(title, suggestedName);
    if (path.empty()) return;
    const FileResult saved = save(path);
    if (saved) return;
    desktop.messageBox("Vivarix", std::string(what) + " could not be saved to " + path + ": " + saved.reason() + ".");
}

}  // namespace vivarix

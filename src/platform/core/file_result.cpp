#include "platform/core/file_result.h"

#include <cstring>
#include <memory>

namespace vivarix {

std::string FileResult::reason() const { return error == 0 ? std::string() : std::strerror(error); }

FileResult writeWholeFile(const std::string& path, std::string_view text) {
    std::unique_ptr<std::FILE, FileCloser> file;
    FileResult result;
    // After an earlier failure the attempts are skipped and `file` closes it.
    result.attempt([&] {
        file.reset(std::fopen(path.c_str(), "wb"));
        return file != nullptr;
    });
    result.attempt([&] { return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size(); });
    result.attempt([&] { return std::fclose(file.release()) == 0; });
    return result;
}

}  // namespace vivarix

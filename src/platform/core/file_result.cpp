#include "platform/core/file_result.h"

#include <cstring>

namespace vivarix {

std::string FileResult::reason() const { return error == 0 ? std::string() : std::strerror(error); }

}  // namespace vivarix

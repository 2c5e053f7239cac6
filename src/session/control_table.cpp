#include "session/control_table.h"

#include "platform/core/text.h"

namespace vivarix {

std::string positionName(const TrackbarSpec& t) {
    std::string_view name = t.caption;
    if (!name.empty() && name.back() == ':') name.remove_suffix(1);
    return std::string(name) + " position";
}

std::string labelText(const TrackbarSpec& t, std::int32_t position) {
    if (!t.valueInLabel) return std::string(t.caption);
    return std::string(t.caption) + ' ' + formatDecimal(position * t.perStep);
}

}  // namespace vivarix

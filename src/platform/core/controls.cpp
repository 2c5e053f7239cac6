#include "platform/core/controls.h"

namespace vivarix {

std::int32_t HeadlessControls::getControlState(std::int32_t control) const {
    const auto it = states.find(control);
    return it == states.end() ? 0 : it->second;
}

void HeadlessControls::setControlState(std::int32_t control, std::int32_t value) {
    states[control] = value;
    if (value != 1) return;
    const auto group = groupOf.find(control);
    if (group == groupOf.end()) return;
    for (const std::int32_t other : group->second)
        if (other != control) states[other] = 0;
}

void HeadlessControls::groupOptions(std::span<const std::int32_t> options) {
    for (const std::int32_t option : options) groupOf[option].assign(options.begin(), options.end());
}

}  // namespace vivarix

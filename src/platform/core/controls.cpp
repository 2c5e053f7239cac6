#include "platform/core/controls.h"

namespace vivarix {

std::int32_t HeadlessControls::getControlState(std::int32_t control) const {
    const auto it = states.find(control);
    return it == states.end() ? 0 : it->second;
}

void HeadlessControls::setControlState(std::int32_t control, std::int32_t value) {
    states[control] = value;
}

void HeadlessControls::setControlText(std::int32_t control, std::string_view text) {
    texts[control] = std::string(text);
}

std::string HeadlessControls::controlText(std::int32_t control) const {
    const auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
}

}  // namespace vivarix

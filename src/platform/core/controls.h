// The state of numbered controls, as the logic reads and writes it.
//
// The desktop program implements this with real widgets; vivarix-lab and the tests
// use HeadlessControls.  A control that does not exist reads 0.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <vector>

namespace vivarix {

class Controls {
public:
    virtual ~Controls() = default;
    // Trackbar: its position.  Option button: 1 selected, 0 not.  Others: 0.
    virtual std::int32_t getControlState(std::int32_t control) const = 0;
    // Trackbar: moves the knob.  Option: 1 selects it (and clears its group).
    // Image button and image view: the value is an image handle to show.
    virtual void setControlState(std::int32_t control, std::int32_t value) = 0;
    // Replaces a text control's text.
    virtual void setControlText(std::int32_t control, std::string_view text) = 0;
};

// Controls held in memory: every state that was set, nothing drawn, texts dropped.
// Options behave as real ones once grouped: selecting one clears the others of
// its group.
class HeadlessControls final : public Controls {
public:
    std::int32_t getControlState(std::int32_t control) const override;
    void setControlState(std::int32_t control, std::int32_t value) override;
    void setControlText(std::int32_t, std::string_view) override {}

    // Makes `options` one group (an option belongs to at most one group).
    void groupOptions(std::span<const std::int32_t> options);

private:
    std::map<std::int32_t, std::int32_t> states;
    std::map<std::int32_t, std::vector<std::int32_t>> groupOf;  // option -> its group
};

}  // namespace vivarix

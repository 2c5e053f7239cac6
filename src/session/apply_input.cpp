#include "session/control_table.h"
#include "session/input.h"
#include "session/plate.h"

namespace vivarix {

namespace {

struct Apply {
    SimState& state;

    PlaceResult operator()(const PlaceInput& p) const {
        // The signed 16-bit comparison of the pointer column with the plate width.
        if (static_cast<std::int16_t>(p.x) >= state.plateWidth) return {PlaceRefusal::controlColumn};
        return placeCreatureByHand(state, HandPlacement{p.x, p.y, p.kind, p.magen * trackbar::magen.perStep,
                                                        p.alter * trackbar::alter.perStep,
                                                        p.reif * trackbar::reif.perStep});
    }
    PlaceResult operator()(const FeedInput& f) const {
        state.manualFeeding = {1, f.x, f.y, f.spread * trackbar::spread.perStep, f.grains * trackbar::grains.perStep};
        return {};
    }
    PlaceResult operator()(const NoFeedInput&) const {
        state.manualFeeding.active = 0;
        return {};
    }
    PlaceResult operator()(const AutoInput& a) const {
        state.autoFeedAmount = a.position * trackbar::autoFeed.perStep;
        return {};
    }
    PlaceResult operator()(const PlateInput& p) const {
        startNewPlate(state, p.randomNutrient);
        return {};
    }
};

}  // namespace

bool isLevel(const Input& input) {
    return std::holds_alternative<FeedInput>(input) || std::holds_alternative<NoFeedInput>(input) ||
           std::holds_alternative<AutoInput>(input);
}

PlaceResult applyInput(SimState& state, const Input& input) { return std::visit(Apply{state}, input); }

const char* placeRefusalText(PlaceRefusal refusal) {
    switch (refusal) {
    case PlaceRefusal::none: return "";
    case PlaceRefusal::offPlate: return "the cell is off the plate";
    case PlaceRefusal::occupied: return "a creature ended its move on that cell in the last pass";
    case PlaceRefusal::noMemory: return "no memory for another creature";
    case PlaceRefusal::paused: return "the run is paused";
    case PlaceRefusal::controlColumn: return "the pointer is over the control column, right of the plate";
    }
    return "";
}

}  // namespace vivarix

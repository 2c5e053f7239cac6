#include "app/user_input.h"

#include "app/plate_preparation.h"
#include "app/population_watch.h"
#include "session/control_table.h"

namespace vivarix {

PlaceResult takeUserInput(AppState& state, const Input& input) {
    const PlaceResult result = takeInput(state, state.session, input);
    if (result && std::holds_alternative<PlateInput>(input)) {
        state.newPlateLatch = 1;
        clearInspectorPicture(state);
        state.topColourCreature = {};
        startPlateHistory(state.watch);
    }
    return result;
}

void takeAutoPosition(AppState& state) {
    takeUserInput(state, AutoInput{controlState(state, trackbar::autoFeed.number)});
}

void runJournalledTick(AppState& state) {
    const Session& session = state.session;
    if (state.feedingActive == 1) {
        const FeedInput feed{state.mouseX, state.mouseY, controlState(state, trackbar::spread.number),
                             controlState(state, trackbar::grains.number)};
        if (!session.feeding || session.feed != feed) takeUserInput(state, feed);
    } else if (session.feeding) {
        takeUserInput(state, NoFeedInput{});
    }
    runSessionTick(state, state.session);
}

}  // namespace vivarix

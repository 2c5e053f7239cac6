#include "app/commands.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "app/replay.h"
#include "app/save_file.h"
#include "app/user_input.h"
#include "session/control_table.h"

namespace vivarix {

PlaceResult placeCreature(AppState& state, std::int32_t x, std::int32_t y) {
    if (state.paused == 1) return {PlaceRefusal::paused};
    const PlaceResult result = takeUserInput(state, PlaceInput{x, y, state.placementKind == placeKind0 ? 0 : 1,
                                                               controlState(state, trackbar::magen.number),
                                                               controlState(state, trackbar::alter.number),
                                                               controlState(state, trackbar::reif.number)});
    if (result) endReplay(state);
    return result;
}

bool followCreatureAt(AppState& state, std::int32_t x, std::int32_t y) {
    if (static_cast<std::int16_t>(x) >= state.plateWidth) return state.followed != nullptr;
    Creature* nearest = nullptr;
    std::int32_t nearestDistance = 0;
    for (Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) {
        // A square of side stomach / 50 or a circle of radius stomach / 100 from 200 on.
        const std::int32_t reach = 3 + (c->stomach >= 200 ? c->stomach / 50 : 0);
        const std::int32_t distance = std::max(std::abs(c->x - x), std::abs(c->y - y));
        if (distance <= reach && (!nearest || distance < nearestDistance)) {
            nearest = c;
            nearestDistance = distance;
        }
    }
    state.followed = nearest;
    return nearest != nullptr;
}

void newPlate(AppState& state) {
    takeUserInput(state, PlateInput{controlState(state, control::randomOption) == 1});
}

void saveSessionAs(AppState& state, Desktop& desktop) {
    saveThroughDialog(desktop, "Save the session", suggestedJournalName(std::time(nullptr)), "The session",
                      [&](const std::string& path) { return saveJournal(state, state.session, path); });
}

}  // namespace vivarix

#include "app/commands.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "app/journal.h"
#include "app/plate_preparation.h"
#include "app/save_file.h"
#include "sim/plate_setup.h"

namespace vivarix {

PlaceResult placeCreature(AppState& state) {
    if (state.paused == 1) return {PlaceRefusal::paused};
    if (static_cast<std::int16_t>(state.mouseX) >= state.plateWidth) return {PlaceRefusal::controlColumn};
    return placeCreatureByHand(state);
}

bool followCreatureAtPointer(AppState& state) {
    if (static_cast<std::int16_t>(state.mouseX) >= state.plateWidth) return state.followed != nullptr;
    Creature* nearest = nullptr;
    std::int32_t nearestDistance = 0;
    for (Creature* c = state.creatureList.front(); c; c = CreatureList::after(c)) {
        // A square of side stomach / 50 or a circle of radius stomach / 100 from 200 on.
        const std::int32_t reach = 3 + (c->stomach >= 200 ? c->stomach / 50 : 0);
        const std::int32_t distance = std::max(std::abs(c->x - state.mouseX), std::abs(c->y - state.mouseY));
        if (distance <= reach && (!nearest || distance < nearestDistance)) {
            nearest = c;
            nearestDistance = distance;
        }
    }
    state.followed = nearest;
    return nearest != nullptr;
}

void newPlate(AppState& state) {
    state.newPlateLatch = 1;
    preparePlate(state);
    clearList(state.creatureList);
    state.followed = nullptr;
    state.kindCount = {0, 0, 0};
    state.topColourCreature = {};
    startPlateHistory(state.watch);
}

void saveSessionAs(AppState& state, Desktop& desktop) {
    saveThroughDialog(desktop, "Save the session", suggestedJournalName(std::time(nullptr)), "The session",
                      [&](const std::string& path) { return saveJournal(state, path); });
}

}  // namespace vivarix

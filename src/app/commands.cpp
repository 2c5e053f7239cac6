#include "app/commands.h"

#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/journal.h"
#include "app/plate_preparation.h"
#include "sim/plate_setup.h"

namespace vivarix {

PlaceResult placeCreature(AppState& state) {
    if (state.paused == 1) return {PlaceRefusal::paused};
    if (static_cast<std::int16_t>(state.mouseX) >= state.plateWidth) return {PlaceRefusal::controlColumn};
    return placeCreatureByHand(state);
}

void newPlate(AppState& state) {
    state.newPlateLatch = 1;
    preparePlate(state);
    clearList(state.creatureList);
    state.kindCount = {0, 0, 0};
    state.topColourCreature = {};
}

void saveSessionAs(AppState& state, Desktop& desktop) {
    const std::string path = desktop.askSaveFileName("Save the session", suggestedJournalName(std::time(nullptr)));
    if (path.empty()) return;
    errno = 0;
    if (saveJournal(state, path)) return;
    const std::string why = errno != 0 ? std::strerror(errno) : "the file could not be written";
    desktop.messageBox("Vivarix", "The session could not be saved to " + path + ": " + why + ".");
}

}  // namespace vivarix

#include "support/program_invariants.h"

#include "support/tiny_plate.h"

namespace vivarix::test {

std::string stateProblems(const AppState& s) {
    std::string broken = listProblems(s.creatureList) + listProblems(s.nutriumList);
    std::array<std::int32_t, 3> census{};
    bool followedLives = s.followed == nullptr;
    for (const Creature* c = s.creatureList.front(); c; c = CreatureList::after(c)) {
        followedLives = followedLives || c == s.followed;
        if (c->kind != 0 && c->kind != 1) {
            broken += "a creature of kind " + std::to_string(c->kind) + "; ";
            continue;
        }
        ++census[static_cast<std::size_t>(c->kind)];
        if (c->x < 1 || c->y < 1 || c->x >= s.plateWidth || c->y >= s.plateHeight ||
            cellAt(s.plateGrid, c->x, c->y) == -1)
            broken += "a creature off the plate; ";
    }
    if (census != s.kindCount) broken += "kindCount is not the census of the list; ";
    if (!followedLives) broken += "the followed creature is not in the list; ";
    for (const std::int16_t mark : s.creatureGrid.cells)
        if (mark < 0 || mark > 2) {
            broken += "a mark that is no kind; ";
            break;
        }
    return broken;
}

}  // namespace vivarix::test

// The magnifier and the creature inspector: while on, the view follows the first
// creature of the list, or the followed creature (SimState::followed) while there
// is one, frames the magnified area on the plate and redraws the inspector picture
// (image 10) with the area at five times its size and the observed creature's
// figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/colour.h"
#include "render/render_state.h"

namespace vivarix {

inline constexpr std::int32_t inspectorImage = 10;
inline constexpr std::int32_t magnifierGreen = rgb(0, 255, 0);
// The creatures in the magnified view: red for kind 1, blue for any other kind.
inline constexpr std::int32_t magnifiedKind1Colour = rgb(250, 0, 0);
inline constexpr std::int32_t magnifiedKind0Colour = rgb(0, 0, 250);

// Centres the magnified 49-by-41 area on (x, y), kept inside the plate.
void centreMagnifier(RenderState& state, std::int32_t x, std::int32_t y);

// Decides the observed creature: with the magnifier on and creatures on the plate,
// the followed creature, which the magnified area is centred on, or else the first
// of the list becomes selectedCreature (the creature pass leaves it out and it is
// drawn last); with the list empty the magnifier switches itself off (its button
// keeps its picture).  With the magnifier off, selectedCreature stays as it was.
void chooseObservedCreature(RenderState& state);

// On the open back buffer: the one-pixel green frame of the magnified area and the
// observed creature drawn over a green highlight.
void drawMagnifierFrame(RenderState& state);

// The inspector's lines about a creature, each with its y position at x = 5.
struct InspectorLine {
    std::int32_t y;
    std::string text;
};
std::vector<InspectorLine> inspectorLines(const Creature& creature);

// While the magnifier is on, redraws image 10: the 49-by-41 cells around
// (magnifierX, magnifierY) as 5-by-5 blocks, the creatures in them in their kind
// colours, the observed creature's green mark, and the inspector lines.  Otherwise
// image 10 keeps its picture.
void drawMagnifierView(RenderState& state);

}  // namespace vivarix

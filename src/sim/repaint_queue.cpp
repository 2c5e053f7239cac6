#include "sim/repaint_queue.h"

namespace vivarix {

NutriumParticle* queueRepaint(SimState& state, std::int32_t x, std::int32_t y) {
    NutriumParticle* p = addElement(state.nutriumList);
    if (!p) {
        reportNoMemory(state);
        return nullptr;
    }
    p->x = static_cast<std::int16_t>(x);
    p->y = static_cast<std::int16_t>(y);
    return p;
}

}  // namespace vivarix

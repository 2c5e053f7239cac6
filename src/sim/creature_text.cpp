#include "sim/creature_text.h"

#include <charconv>
#include <cstdio>

namespace vivarix {

std::string creaturesText(const CreatureList& list) {
    std::string text;
    text.reserve(list.size() * 80);
    char buffer[16];
    auto field = [&](std::int32_t value, char end) {
        const auto [stop, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        (void)ec;
        text.append(buffer, stop);
        text.push_back(end);
    };
    for (const Creature* c = list.front(); c; c = CreatureList::after(c)) {
        for (const std::int32_t value :
             {c->x, c->y, c->stomach, c->age, static_cast<std::int32_t>(c->kind), c->colour, c->maxAge,
              c->stomachCapacity, static_cast<std::int32_t>(c->sexMarker), c->maturityAge, c->stress,
              c->stressTolerance, static_cast<std::int32_t>(c->kPoints), static_cast<std::int32_t>(c->geneV),
              static_cast<std::int32_t>(c->geneR), static_cast<std::int32_t>(c->geneSr),
              static_cast<std::int32_t>(c->geneRw), static_cast<std::int32_t>(c->geneSl),
              static_cast<std::int32_t>(c->geneL)})
            field(value, ' ');
        field(c->direction, '\n');
    }
    return text;
}

std::uint64_t fnv1a64(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string creaturesHash(const CreatureList& list) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(fnv1a64(creaturesText(list))));
    return hex;
}

}  // namespace vivarix

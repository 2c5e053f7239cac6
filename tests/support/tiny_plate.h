// Small plates for the simulation's tests.
//
// A TinyPlate is a SimState with both grids allocated for the full 460-by-460 plate,
// a recording message sink and a seeded generator with a draw script attached.  Tests shape the plate cells they
// need, push creatures at the end of the creature list, script the draws, step, and
// compare.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/list.h"
#include "platform/core/message_box.h"
#include "sim/plate_setup.h"
#include "sim/records.h"
#include "sim/sim_state.h"

namespace vivarix::test {

inline constexpr const char* noMemoryTitle = "Fehler!";
inline constexpr const char* noMemoryText = "Kein Speicherplatz zum Reservieren des neuen Elements";

// Keeps every message box instead of showing it.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    void messageBox(std::string_view title, std::string_view text) override {
        shown.emplace_back(std::string(title), std::string(text));
    }
    // (title, text) in the order shown.
    std::vector<std::pair<std::string, std::string>> shown;
};

// Makes the k-th append (counted from 1, from now, over all the given lists in the
// order they happen) fail, and takes the failure away from the lists again when it
// goes out of scope, so that a failing assertion cannot leak it into later steps.
class FailAllocation {
public:
    template <class... Lists>
    explicit FailAllocation(std::int64_t request, Lists&... lists) {
        faults.failRequest(request);
        (attach(lists), ...);
    }
    ~FailAllocation() {
        for (const auto& detach : detachers) detach();
    }
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;

private:
    template <class T>
    void attach(List<T>& list) {
        list.setAllocationFaults(&faults);
        detachers.emplace_back([&list] { list.setAllocationFaults(nullptr); });
    }
    AllocationFaults faults;
    std::vector<std::function<void()>> detachers;
};

struct TinyPlate {
    explicit TinyPlate(std::uint64_t seed = 1);
    TinyPlate(const TinyPlate&) = delete;
    TinyPlate& operator=(const TinyPlate&) = delete;

    SimState state;
    RecordingMessageBoxes messages;
    DrawScript script;  // attached to state.random: scriptDraws works on the plate
};

// A hand placement at (x, y) of `kind` with the limits the creature sliders give at
// their start-up positions.
HandPlacement defaultPlacement(std::int32_t x, std::int32_t y, std::int32_t kind = 0);

// Right-button feeding at (x, y) with "M. Size:" and "M. NpF:" at `spread` and
// `grains` (positions, by default the start-up ones).
ManualFeeding feedingAt(std::int32_t x, std::int32_t y, std::int32_t spread = 12, std::int32_t grains = 25);

// --- plate shapes (only the cells 0..460 by 0..460 are written) -----------------

// Every cell -1.
void clearPlate(SimState& state);
// Cells 1..459 in both directions are plate cells of `level`; row and column 0 and
// 460 are -1, as on a real plate.
void fillPlate(SimState& state, std::int16_t level);
// Every cell 0..460 in both directions holds `level`: no -1 anywhere, so only the
// rectangle test of the creature step keeps a creature inside.
void fillWholeGrid(SimState& state, std::int16_t level);
// Sets one cell of the plate grid.
void setCell(SimState& state, std::int32_t x, std::int32_t y, std::int16_t level);
std::int16_t cell(const SimState& state, std::int32_t x, std::int32_t y);
std::int16_t mark(const SimState& state, std::int32_t x, std::int32_t y);

// --- creatures ------------------------------------------------------------------

// A creature as a hand placement with default trackbars makes it: stomach 100, age 0,
// maxAge 1280, stomachCapacity 640, maturityAge 320, sexMarker 3, stress 0,
// tolerance 10, kPoints 1, all genes 2, colour 117 in its kind's channel.
Creature creatureAt(std::int32_t x, std::int32_t y, std::int16_t kind = 0, std::int16_t direction = 0);

// Appends a copy of `fields` at the end of the creature list (the current position
// is moved to the last element first), counts it in kindCount and returns the record.
// The list's current element is the new record afterwards.
Creature& pushCreature(SimState& state, const Creature& fields);

// The creatures in list order.
std::vector<Creature*> creatures(CreatureList& list);
// The nutrient records in list order (copies).
std::vector<NutriumParticle> particles(const NutriumList& list);

// Living creatures per kind, counted by walking the list (index 2: any other kind).
std::array<std::int32_t, 3> census(const CreatureList& list);

// Empty string when the list's links agree in both directions with its size, the
// front has no predecessor, the back no successor and the current element (if any)
// is one of its elements; otherwise what is wrong.
template <class T>
std::string listProblems(const List<T>& list);

// Scripts `count` draws of `value`.
void scriptRepeated(SimState& state, std::size_t count, std::int32_t value);
// Scripts the draws of one birth that no mutation chance hits: the heading, then
// twelve misses.
void scriptPlainBirth(SimState& state, std::int32_t heading);

}  // namespace vivarix::test

// --- template definitions -----------------------------------------------------------

namespace vivarix::test {

template <class T>
std::string listProblems(const List<T>& list) {
    std::size_t forward = 0;
    const T* previous = nullptr;
    bool currentSeen = list.current() == nullptr;
    for (const T* r = list.front(); r; r = List<T>::after(r)) {
        if (List<T>::before(r) != previous) return "a successor's predecessor link is wrong";
        if (r == list.current()) currentSeen = true;
        previous = r;
        if (++forward > list.size()) return "forward walk longer than size()";
    }
    if (forward != list.size()) return "forward walk shorter than size()";
    if (previous != list.back()) return "forward walk does not end at back()";
    std::size_t backward = 0;
    const T* next = nullptr;
    for (const T* r = list.back(); r; r = List<T>::before(r)) {
        if (List<T>::after(r) != next) return "a predecessor's successor link is wrong";
        next = r;
        if (++backward > list.size()) return "backward walk longer than size()";
    }
    if (backward != list.size()) return "backward walk shorter than size()";
    if (next != list.front()) return "backward walk does not end at front()";
    if (!currentSeen) return "current element is not in the list";
    return {};
}

}  // namespace vivarix::test

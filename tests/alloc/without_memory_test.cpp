// What the program keeps or gives up where an allocation of a pass fails, part by
// part: the occupancy index, the population history, a recording.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "alloc/failing_new.h"
#include "lab_run.h"
#include "render/population_history.h"
#include "session/session.h"
#include "sim/creature_step.h"
#include "support/crowded_plate.h"
#include "support/program_run.h"

namespace vivarix::test {
namespace {

// A crowded plate whose lists hold enough spare elements for every birth and
// repaint of the test, so that only the occupancy index allocates in its steps.
void crowdedPlateWithRoom(SimState& s) {
    for (int i = 0; i < 8192; ++i) addElement(s.creatureList);
    for (int i = 0; i < 32768; ++i) addElement(s.nutriumList);
    clearList(s.creatureList);
    clearList(s.nutriumList);
    crowdedPlate(s, 3, 2500);
}

// Without memory for the occupancy index the step answers its opponent searches by
// walking the list: a crowded plate whose index is built anew every tick, one of
// its allocations failing, ends every tick exactly as one whose index never fails.
TEST(WithoutMemory, TheCreatureStepWalksTheListAndEndsAsWithItsIndex) {
    SimState failing, undisturbed;
    crowdedPlateWithRoom(failing);
    crowdedPlateWithRoom(undisturbed);
    int failed = 0;
    for (int tick = 0; tick < 60; ++tick) {
        // A new index allocates its two tables of heads, then entries for the walk
        // at the first search and for the recording after it: four allocations.
        failing.occupancy = Occupancy{};
        AllocationCount count;
        count.failAt = 1 + tick % 4;
        {
            CountAllocations counting(count);
            stepCreatures(failing);
        }
        stepCreatures(undisturbed);
        failed += count.counted >= count.failAt;
        ASSERT_EQ(lab::creaturesText(failing.creatureList), lab::creaturesText(undisturbed.creatureList))
            << "tick " << tick;
        ASSERT_EQ(failing.kindCount, undisturbed.kindCount) << "tick " << tick;
        ASSERT_EQ(failing.creatureGrid.cells, undisturbed.creatureGrid.cells) << "tick " << tick;
        clearList(failing.nutriumList);
        clearList(undisturbed.nutriumList);
    }
    EXPECT_EQ(failed, 60) << "the steps did not reach their allocations";
    EXPECT_GT(undisturbed.creatureList.size(), 200u);
}

// The history's room is part of its record: a long run, merging many times,
// allocates nothing.
TEST(WithoutMemory, ThePopulationHistoryGrowsAndMergesWithoutAllocating) {
    SimState plate;
    auto history = std::make_unique<PopulationHistory>();
    AllocationCount count;
    {
        CountAllocations counting(count);
        for (std::uint64_t frame = 1; frame <= 5 * PopulationHistory::capacity; ++frame) {
            noteTick(*history, {static_cast<std::int32_t>(frame % 7), 3, 0});
            sampleFrame(*history, plate, frame);
        }
        clearHistory(*history);
        noteTick(*history, {1, 1, 0});
        sampleFrame(*history, plate, 1);
    }
    EXPECT_EQ(count.counted, 0);
    EXPECT_EQ(historySamples(*history).size(), 1u);
    EXPECT_EQ(history->framesPerSample, 1u);
}

using Recording = ScratchDir;

// Starting a recording copies its path: without memory for it, nothing is recorded
// and the reason is the system's.
TEST_F(Recording, WithoutMemoryForItsPathNothingIsRecorded) {
    Session session;
    startSession(session, {7, true});
    const std::string path = (dir / "a-recording-with-a-name-longer-than-fits-a-short-string.vxs").string();
    AllocationCount count;
    count.failAt = 1;
    FileResult result;
    {
        CountAllocations counting(count);
        result = startRecording(session, path);
    }
    EXPECT_EQ(result.error, ENOMEM);
    EXPECT_FALSE(session.journal.recording);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(startRecording(session, path));
    EXPECT_EQ(readFile(path), session.journal.text);
}

}  // namespace
}  // namespace vivarix::test

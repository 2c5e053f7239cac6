// The soaks, meant to run under AddressSanitizer and UndefinedBehaviorSanitizer
// (scripts/soak, `make soak`): a crowded plate for 200,000 passes, and the desktop
// program watched by a user for a million ticks.  They take minutes, so they are
// disabled in the normal suite; scripts/soak runs them with
// --gtest_also_run_disabled_tests.  VIVARIX_SOAK_PASSES and VIVARIX_SOAK_TICKS
// override the passes of the first and the ticks of the second's last plate for a
// shorter try.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/startup.h"
#include "invariants.h"
#include "lab_run.h"
#include "support/program_run.h"
#include "support/scripted_desktop.h"
#include "support/watch_session.h"

namespace vivarix::lab {
namespace {

// The number in the environment variable `name`, else `otherwise`.
std::uint64_t soakLength(const char* name, std::uint64_t otherwise) {
    const char* text = std::getenv(name);
    if (!text || !*text) return otherwise;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    return *end == '\0' && value > 0 ? value : otherwise;
}

// Window positions on the plate disc (centre 230, 230, radius 220): a ring and its
// centre, for placements and hand feeds.
struct Spot {
    std::int32_t x;
    std::int32_t y;
};
constexpr Spot spots[] = {{230, 230}, {100, 230}, {360, 230}, {230, 100}, {230, 360},
                          {140, 140}, {320, 140}, {140, 320}, {320, 320}, {60, 230},
                          {400, 230}, {230, 60},  {230, 400}, {180, 280}, {280, 180}};
constexpr std::size_t spotCount = sizeof spots / sizeof spots[0];

// The crowded plate: automatic feeding at its strongest (trackbar 40, 320 units a
// pass); 120 creatures of both kinds spread over the disc at pass 0 and 30 more
// (15 of each kind, one at each spot) every 500 passes, so that a kind wiped out by
// the other comes back, as a user would bring it back; creatures placed with the
// largest stomach (trackbar 50) and lifespan (50) and the earliest maturity (10);
// and the right button held all the time, moving to another spot every 2,000
// passes.  With seed 4242 this keeps some 3,000 creatures on the plate.
Options crowdedPlate(std::uint64_t passes) {
    Options o;
    o.ticks = passes;
    o.autoPosition = 40;
    o.magenPosition = 50;
    o.alterPosition = 50;
    o.reifPosition = 10;
    for (std::int32_t i = 0; i < 120; ++i) {
        const std::int32_t x = 40 + (i % 12) * 34;
        const std::int32_t y = 60 + (i / 12) * 36;
        o.placements.push_back({0, i % 2, x, y});
    }
    for (std::uint64_t pass = 500, n = 0; pass < passes; pass += 500, ++n) {
        for (std::int32_t k = 0; k < 30; ++k) {
            const Spot at = spots[(n + static_cast<std::size_t>(k)) % spotCount];
            o.placements.push_back({pass, k % 2, at.x + 3 * (k / 15), at.y});
        }
    }
    for (std::uint64_t first = 0, n = 0; first < passes; first += 2000, ++n) {
        const Spot at = spots[(n * 7 + 3) % spotCount];
        o.feeds.push_back({first, std::min(first + 1999, passes - 1), at.x, at.y});
    }
    return o;
}

using Soak = test::ScratchDir;

TEST_F(Soak, DISABLED_ACrowdedPlateKeepsEveryInvariantForTwoHundredThousandPasses) {
    const std::uint64_t passes = soakLength("VIVARIX_SOAK_PASSES", 200000);
    const Options options = crowdedPlate(passes);
    Lab lab;
    prepareLab(lab, options.randomNutrient, 4242);
    LabInputs inputs(options);
    // The population after the plate has filled up: the run is only a soak if it
    // stays crowded.
    constexpr std::uint64_t fillUp = 2000;
    std::size_t fewest = SIZE_MAX;
    std::size_t most = 0;
    std::uint64_t sum = 0;
    std::uint64_t samples = 0;
    for (std::uint64_t pass = 0; pass < passes; ++pass) {
        runPass(lab, inputs, pass);
        if ((pass + 1) % 100 != 0 && pass + 1 != passes) continue;
        ASSERT_TRUE(vivarix::testing::plateInvariantsHold(lab.state)) << "after pass " << pass;
        const std::size_t size = lab.state.creatureList.size();
        most = std::max(most, size);
        if (pass >= fillUp) {
            fewest = std::min(fewest, size);
            sum += size;
            ++samples;
        }
        if ((pass + 1) % 20000 == 0)
            std::printf("soak: pass %llu, %d blue and %d red creatures\n", static_cast<unsigned long long>(pass + 1),
                        lab.state.kindCount[0], lab.state.kindCount[1]);
    }
    if (samples == 0) return;  // a try shorter than the fill-up
    std::printf("soak: %llu passes; creatures after pass %llu: fewest %zu, mean %llu, most %zu\n",
                static_cast<unsigned long long>(passes), static_cast<unsigned long long>(fillUp), fewest,
                static_cast<unsigned long long>(sum / samples), most);
    // Only a crowded plate makes this a soak.  Kinds wiping each other out make the
    // population dip now and then; it stays in the thousands on average.
    EXPECT_GE(sum / samples, 1000u) << "the plate did not stay crowded";
    EXPECT_GE(fewest, 500u) << "the plate emptied";
}

// The desktop program's start-up and main loop on the scripted desktop, its journal
// recorded: the session of watch_session.h, its last plate a million ticks long
// with the population window open; then the journal replays verified, checkpoint by
// checkpoint, and the recording holds what the journal holds.
TEST_F(Soak, DISABLED_ADesktopSessionWatchedForAMillionTicksReplaysVerified) {
    const auto start = std::chrono::steady_clock::now();
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 4242));
    ASSERT_TRUE(startRecording(state->session, (dir / "recorded.vxs").string()));
    test::ScriptedUser user(desktop, *state);
    test::WatchPlan plan;
    plan.lastPlateTicks = soakLength("VIVARIX_SOAK_TICKS", 1000000);
    EXPECT_EQ(test::watchSession(user, *state, plan), "");
    EXPECT_GE(state->watch.history.framesPerSample, 2u) << "the history never merged";
    EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front().second;
    const std::uint64_t ticks = state->session.ticks;
    const auto watched = std::chrono::steady_clock::now();
    EXPECT_EQ(test::replayProblems(*state, dir / "saved.vxs", ticks / journalCheckpointTicks), "");
    EXPECT_EQ(test::readFile(dir / "recorded.vxs"), state->session.journal.text);
    const auto replayed = std::chrono::steady_clock::now();
    using Seconds = std::chrono::duration<double>;
    std::int64_t most = 0;
    for (const PopulationSample& sample : historySamples(state->watch.history))
        most = std::max(most, sample.series[kind0Count].max + sample.series[kind1Count].max);
    std::printf("soak: a desktop session of %llu ticks (%llu on its last plate, up to %lld creatures) in %.0f s, its "
                "journal replayed in %.0f s; the history in %zu samples of %u frames\n",
                static_cast<unsigned long long>(ticks), static_cast<unsigned long long>(state->watch.plateTicks),
                static_cast<long long>(most), Seconds(watched - start).count(), Seconds(replayed - watched).count(),
                historySamples(state->watch.history).size(), state->watch.history.framesPerSample);
}

}  // namespace
}  // namespace vivarix::lab

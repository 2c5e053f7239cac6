#include "support/watch_session.h"

#include <sstream>
#include <vector>

#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/speed.h"
#include "lab_run.h"
#include "session/control_table.h"
#include "support/program_invariants.h"
#include "support/scripted_desktop.h"

namespace vivarix::test {

namespace {

// Twelve creatures of each kind in two rows across the plate.
bool placeCreatures(User& user) {
    for (const std::int32_t kind : {0, 1}) {
        if (!user.key(kind == 0 ? shortcut::kind0 : shortcut::kind1)) return false;
        for (std::int32_t i = 0; i < 12; ++i)
            if (!user.click(140 + 16 * i, 200 + 40 * kind)) return false;
    }
    return true;
}

// F until the speed is passSpeeds[index].
bool setSpeed(User& user, const AppState& state, std::int32_t index) {
    while (state.speedIndex != index)
        if (!user.key(shortcut::speed)) return false;
    return true;
}

// The history covers the plate's ticks in order, in at most its capacity of samples,
// up to the last drawn frame.
std::string historyProblems(const AppState& state) {
    const std::span<const PopulationSample> samples = historySamples(state.watch.history);
    if (samples.empty()) return "the history is empty; ";
    std::string broken;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (samples[i - 1].lastTick >= samples[i].firstTick) broken = "the history's samples overlap; ";
    if (samples.back().lastTick != state.watch.plateTicks) broken += "the history ends before the plate's tick; ";
    if (samples.front().firstTick > 64) broken += "the history lost its start; ";
    return broken;
}

}  // namespace

std::string watchSession(User& user, AppState& s, const WatchPlan& plan) {
    const std::string ended = "the program ended before the close request";
    std::string problems;
    auto check = [&](const char* when) {
        const std::string broken = stateProblems(s);
        if (!broken.empty()) problems += std::string(when) + ": " + broken;
        return broken.empty();
    };
    if (!placeCreatures(user) || !user.key(shortcut::population) || !user.key(shortcut::stats)) return ended;
    if (!user.rightButton(230, 300, true) || !user.passes(plan.passesPerSpeed) || !user.rightButton(230, 300, false))
        return ended;

    // Every speed of fast-forward in turn; the last F brings back one tick a pass.
    for (std::size_t i = 0; i < passSpeeds.size(); ++i) {
        if (!user.key(shortcut::speed) || !user.passes(plan.passesPerSpeed)) return ended;
        if (!check("fast-forward")) return problems;
    }
    if (s.speedIndex != 0) problems += "F did not come round to one tick a pass; ";

    // Single steps while paused.
    if (!user.key(shortcut::pause)) return ended;
    for (int i = 0; i < 5; ++i) {
        const std::uint64_t ticks = s.session.ticks;
        if (!user.key(shortcut::step)) return ended;
        if (s.session.ticks != ticks + 1) problems += "N did not run one tick; ";
    }
    if (!user.key(shortcut::pause)) return ended;

    // Following creatures until they die, chosen while paused, at x64.
    if (!setSpeed(user, s, 3)) return ended;
    for (int death = 0; death < plan.followedDeaths; ++death) {
        if (s.creatureList.empty() && !placeCreatures(user)) return ended;
        if (!user.key(shortcut::pause)) return ended;
        const Creature* oldest = s.creatureList.front();
        if (!oldest) return problems + "no creature to follow; ";
        if (!user.middleClick(oldest->x, oldest->y)) return ended;
        if (!s.followed || s.magnifierOn != 1) problems += "a middle click on a creature did not follow it; ";
        if (!user.key(shortcut::pause)) return ended;
        for (int pass = 0; s.followed && pass < 400; ++pass)
            if (!user.passes(1)) return ended;
        if (s.followed) problems += "a followed creature outlived 25,000 ticks; ";
        if (!check("following")) return problems;
    }

    // New Vivarix twice while creatures live, the second time while one is followed.
    for (int plate = 0; plate < 2; ++plate) {
        if (s.creatureList.empty() && !placeCreatures(user)) return ended;
        if (plate == 1 && !user.middleClick(s.creatureList.front()->x, s.creatureList.front()->y)) return ended;
        if (!user.button(control::newPlateButton)) return ended;
        if (!s.creatureList.empty() || s.followed || s.kindCount != std::array<std::int32_t, 3>{})
            problems += "New Vivarix left creatures; ";
        if (!placeCreatures(user) || !user.passes(plan.passesPerSpeed)) return ended;
        if (!check("New Vivarix")) return problems;
    }

    // The last plate, with little automatic feeding: at x64 until the history has
    // merged, then at the highest speed.  When both kinds have died out the user
    // brings them back.
    if (!user.button(control::newPlateButton) || !user.trackbar(control::autoTrackbar, plan.lastPlateAuto))
        return ended;
    std::uint64_t frames = 0;
    for (; s.watch.plateTicks < plan.lastPlateTicks; ++frames) {
        if (s.creatureList.empty() && !placeCreatures(user)) return ended;
        if (frames == PopulationHistory::capacity + 1 && !setSpeed(user, s, 4)) return ended;
        if (!user.passes(1)) return ended;
        if (frames % 1000 == 0 && !check("the last plate")) return problems;
    }
    check("the end");
    problems += historyProblems(s);
    if (frames > PopulationHistory::capacity && s.watch.history.framesPerSample == 1)
        problems += "the history never merged; ";
    return problems;
}

std::string replayProblems(AppState& state, const std::filesystem::path& path, std::size_t checkpoints) {
    if (!saveJournal(state, state.session, path.string())) return "the journal cannot be saved";
    std::string file = path.string();
    std::vector<char*> argv = {const_cast<char*>("vivarix-lab"), const_cast<char*>("--replay"), file.data()};
    std::ostringstream out, err;
    const int status = lab::labMain(static_cast<int>(argv.size()), argv.data(), out, err);
    std::size_t verified = 0;
    const bool said = std::sscanf(err.str().c_str(), "replay verified: %zu checkpoints", &verified) == 1;
    if (status != 0 || !said || verified < checkpoints)
        return "the replay of the journal (" + std::to_string(state.session.ticks) + " ticks) says: " + err.str();
    return {};
}

bool ScriptedUser::click(std::int32_t x, std::int32_t y) {
    desktop.movePointer(x, y);
    desktop.queue(event::leftDown);
    desktop.queue(event::leftUp);
    return passes(2);
}

bool ScriptedUser::middleClick(std::int32_t x, std::int32_t y) {
    desktop.movePointer(x, y);
    desktop.queue(event::middleDown);
    desktop.queue(event::middleUp);
    return passes(2);
}

bool ScriptedUser::rightButton(std::int32_t x, std::int32_t y, bool down) {
    desktop.movePointer(x, y);
    desktop.queue(down ? event::rightDown : event::rightUp);
    return passes(1);
}

bool ScriptedUser::key(std::int32_t shortcut) {
    desktop.queue(event::shortcut, shortcut);
    return passes(1);
}

bool ScriptedUser::button(std::int32_t control) {
    desktop.queue(event::control, control);
    return passes(1);
}

bool ScriptedUser::trackbar(std::int32_t control, std::int32_t position) {
    desktop.controls().setControlState(control, position);
    return button(control);
}

bool ScriptedUser::passes(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i)
        if (!runPass(state, desktop)) return false;
    return desktop.idle();
}

}  // namespace vivarix::test

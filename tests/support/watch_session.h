// A user watching evolution, for the long runs: one script of what the user does,
// played on the scripted desktop by the sanitizer soak and on Qt by the valgrind
// run, through the program's own start-up and main loop.
//
// The session places creatures of both kinds, switches the statistics on, feeds
// with the right button, runs at every speed of fast-forward, steps single ticks
// while paused, follows creatures until they die, starts New Vivarix while
// creatures live, and runs the last plate for a long time with the population
// window open and a little automatic feeding, at x64 until its history merges,
// then at the highest speed, bringing creatures back whenever both kinds have died
// out.  The caller has started a recording of the journal, which writes a
// checkpoint every 1,000 ticks.  The plate's invariants are checked along the way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/app_state.h"

namespace vivarix::test {

class ScriptedDesktop;

// What the user does, each followed by the passes that take it; false when the
// program ended.
class User {
public:
    virtual ~User() = default;
    virtual bool click(std::int32_t x, std::int32_t y) = 0;        // the left button on the plate
    virtual bool middleClick(std::int32_t x, std::int32_t y) = 0;  // the middle button
    virtual bool rightButton(std::int32_t x, std::int32_t y, bool down) = 0;  // pressed or released
    virtual bool key(std::int32_t shortcut) = 0;                   // the key of a shortcut
    virtual bool button(std::int32_t control) = 0;                 // a push button of the panel
    virtual bool trackbar(std::int32_t control, std::int32_t position) = 0;
    virtual bool passes(std::int64_t count) = 0;                   // passes without input
};

struct WatchPlan {
    std::int64_t passesPerSpeed = 50;   // passes at each speed of fast-forward
    int followedDeaths = 3;             // creatures followed until each dies
    std::uint64_t lastPlateTicks = 0;   // ticks of the last plate
    std::int32_t lastPlateAuto = 3;     // the "Auto" position on the last plate: a few dozen creatures
};

// Plays the session; returns what went wrong, "" when nothing did.
std::string watchSession(User& user, AppState& state, const WatchPlan& plan);

// Whatever a pass leaves must hold: the lists well linked, kindCount their census,
// every creature on a plate cell, the marks kinds, the followed creature a living
// one, the repaint queue painted.  Returns what is broken, "" when nothing is.
std::string stateProblems(const AppState& state);

// Saves the session's journal to `path` and replays it with vivarix-lab --replay;
// returns "" when the replay verified at least `checkpoints` checkpoints, else what
// it said.
std::string replayProblems(AppState& state, const std::filesystem::path& path, std::size_t checkpoints);

// The user of a ScriptedDesktop: each action queues its events and runs passes
// until the desktop has handed them all out.
class ScriptedUser final : public User {
public:
    ScriptedUser(ScriptedDesktop& desktop, AppState& state) : desktop(desktop), state(state) {}
    bool click(std::int32_t x, std::int32_t y) override;
    bool middleClick(std::int32_t x, std::int32_t y) override;
    bool rightButton(std::int32_t x, std::int32_t y, bool down) override;
    bool key(std::int32_t shortcut) override;
    bool button(std::int32_t control) override;
    bool trackbar(std::int32_t control, std::int32_t position) override;
    bool passes(std::int64_t count) override;

private:
    ScriptedDesktop& desktop;
    AppState& state;
};

}  // namespace vivarix::test

// The desktop program's passes and vivarix-lab's ticks are the same simulation: the
// program's own start-up and main loop on a desktop without a display, given
// placements and right-button feeding, end with the creatures that vivarix-lab
// computes from the same inputs and seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/control_panel.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "lab_run.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

std::string hashOf(const CreatureList& creatures) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(lab::fnv1a64(lab::creaturesText(creatures))));
    return hash;
}

std::string labFinalLine(std::vector<std::string> args) {
    args.insert(args.begin(), "vivarix-lab");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    EXPECT_EQ(lab::labMain(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    const std::string text = out.str();
    return text.substr(text.rfind('\n', text.size() - 2) + 1);
}

TEST(ProgramMatchesLab, SameCreaturesAfterTwoThousandTicks) {
    constexpr std::uint64_t seed = 77;
    constexpr int passes = 2000;
    test::ScriptedDesktop desktop;
    test::NoText text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, seed));

    // Each pass takes one event before its tick, as a lab pass takes its inputs.
    for (int pass = 0; pass < passes; ++pass) {
        switch (pass) {
        case 0:
            desktop.movePointer(230, 230);
            desktop.queue(event::leftDown);
            break;
        case 1:
            desktop.queue(event::leftUp);
            break;
        case 2:
            desktop.queue(event::shortcut, shortcut::kind1);
            break;
        case 3:
            desktop.movePointer(250, 240);
            desktop.queue(event::leftDown);
            break;
        case 10:
            desktop.movePointer(200, 200);
            desktop.queue(event::rightDown);
            break;
        case 401:
            desktop.queue(event::rightUp);
            break;
        case 500:
            desktop.movePointer(600, 200);  // the control column: refused
            desktop.queue(event::leftDown);
            break;
        case 800:
            desktop.movePointer(300, 300);
            desktop.queue(event::rightDown);
            break;
        case 1200:
            desktop.queue(event::rightUp);
            break;
        }
        ASSERT_TRUE(runPass(*state, desktop));
    }
    ASSERT_GT(state->creatureList.size(), 50u);  // a population, not an empty plate

    const std::string lab = labFinalLine({"--seed", std::to_string(seed), "--ticks", std::to_string(passes),
                                          "--every", std::to_string(passes), "--place", "0:0:230:230", "--place",
                                          "3:1:250:240", "--place", "500:1:600:200", "--feed", "10:400:200:200",
                                          "--feed", "800:1199:300:300"});
    EXPECT_EQ(lab, std::to_string(passes) + "," + std::to_string(state->kindCount[0]) + "," +
                       std::to_string(state->kindCount[1]) + "," +
                       std::to_string(lab::nutrientTotal(state->plateGrid)) + "," + hashOf(state->creatureList) +
                       "\n");
}

}  // namespace
}  // namespace vivarix

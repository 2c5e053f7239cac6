#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/core/version.h"

namespace vivarix {
namespace {

TEST(CommandLine, SeedRecordingAndSessionOrOneLineNamingTheFault) {
    const CommandLine both = parseCommandLine({"--record", "a.vxs", "old.vxs", "--seed", "18446744073709551615"});
    EXPECT_EQ(both.error, "");
    EXPECT_EQ(both.seed, 18446744073709551615ull);
    EXPECT_EQ(both.record, "a.vxs");
    EXPECT_EQ(both.session, "old.vxs");
    EXPECT_FALSE(parseCommandLine({}).seed.has_value());
    EXPECT_FALSE(parseCommandLine({}).session.has_value());

    const std::pair<std::vector<std::string>, const char*> faults[] = {
        {{"--seed", "18446744073709551616"}, "--seed: 18446744073709551616 is too large for a 64-bit seed"},
        {{"--seed", "-1"}, "--seed: expected an unsigned decimal number"},
        {{"--seed"}, "--seed: missing value"},
        {{"--record", ""}, "--record: expected a file name"},
        {{"-platform"}, "-platform: unknown option"},
        {{"a.vxs", "b.vxs"}, "b.vxs: only one session can be opened"},
    };
    for (const auto& [args, error] : faults) EXPECT_EQ(parseCommandLine(args).error, error);
}

TEST(CommandLine, HelpAndVersionAreAnsweredWhereverTheyStandButNotAsAValue) {
    EXPECT_EQ(textRequested({"-platform", "offscreen", "--version", "--help"}), versionLine("vivarix"));
    EXPECT_EQ(textRequested({"--seed", "3", "-h"}), programUsage);
    EXPECT_EQ(textRequested({"--record", "--version"}), "");
    EXPECT_EQ(textRequested({"--seed", "3"}), "");
}

}  // namespace
}  // namespace vivarix

#include <gtest/gtest.h>

#include "lab_options.h"

namespace vivarix::lab {
namespace {

ParseResult parse(std::vector<std::string> args) { return parseOptions(args); }

// The trackbars' defaults are the control table's (ControlTable tests them).
TEST(LabOptions, DefaultsAreTheControlsDefaults) {
    const ParseResult r = parse({});
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.options.seed.has_value());
    EXPECT_EQ(r.options.ticks, 1000u);
    EXPECT_TRUE(r.options.randomNutrient);
    EXPECT_FALSE(r.options.every.has_value());
}

TEST(LabOptions, AFullCommandLine) {
    const ParseResult r = parse({"--seed", "18446744073709551615", "--ticks", "50", "--nutrient", "empty",
                                 "--auto", "0", "--magen", "50", "--alter", "10", "--reif", "33", "--spread", "2",
                                 "--grains", "5", "--place", "0:1:715:460", "--place", "3:0:0:0", "--feed",
                                 "1:4:230:230", "--feed", "5:5:100:100", "--every", "7", "--dump-grid", "g.txt",
                                 "--dump-creatures", "c.txt"});
    ASSERT_EQ(r.error, "");
    const Options& o = r.options;
    EXPECT_EQ(*o.seed, 18446744073709551615ull);
    EXPECT_EQ(o.ticks, 50u);
    EXPECT_FALSE(o.randomNutrient);
    EXPECT_EQ(o.autoPosition, 0);
    EXPECT_EQ(o.magenPosition, 50);
    EXPECT_EQ(o.alterPosition, 10);
    EXPECT_EQ(o.reifPosition, 33);
    EXPECT_EQ(o.spreadPosition, 2);
    EXPECT_EQ(o.grainsPosition, 5);
    ASSERT_EQ(o.placements.size(), 2u);
    EXPECT_EQ(o.placements[0].kind, 1);
    EXPECT_EQ(o.placements[0].x, 715);
    EXPECT_EQ(o.placements[0].y, 460);
    EXPECT_EQ(o.placements[1].pass, 3u);
    ASSERT_EQ(o.feeds.size(), 2u);
    EXPECT_EQ(o.feeds[0].firstPass, 1u);
    EXPECT_EQ(o.feeds[0].lastPass, 4u);
    EXPECT_EQ(*o.every, 7u);
    EXPECT_EQ(*o.dumpGrid, "g.txt");
    EXPECT_EQ(*o.dumpCreatures, "c.txt");
}

TEST(LabOptions, BadValuesNameTheirOption) {
    const std::vector<std::vector<std::string>> bad = {
        {"--seed", "-1"},          {"--seed", "18446744073709551616"}, {"--seed", "12x"},
        {"--seed", ""},            {"--ticks", "-5"},                  {"--ticks", " 5"},
        {"--nutrient", "full"},    {"--auto", "41"},                   {"--magen", "9"},
        {"--alter", "51"},         {"--reif", "abc"},                  {"--spread", "1"},
        {"--grains", "26"},        {"--place", "0:2:10:10"},           {"--place", "0:0:716:10"},
        {"--place", "0:0:10:461"}, {"--place", "0:0:10"},              {"--place", "0:0:10:10:1"},
        {"--place", "x:0:1:1"},    {"--feed", "5:4:1:1"},              {"--feed", "0:1:1"},
        {"--every", "0"},          {"--every", "k"},                   {"--dump-grid", ""},
        {"--feed", "0:3:1:1", "--feed", "3:6:1:1"},                    {"--ticks", "10", "--place", "10:0:1:1"},
        {"--ticks", "10", "--feed", "5:10:1:1"},
    };
    for (const auto& args : bad) {
        const ParseResult r = parse(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        ASSERT_NE(r.error, "") << joined;
        // The option named is the one whose value is wrong.
        const std::string& named = args.size() == 4 ? args[2] : args[0];
        EXPECT_EQ(r.error.rfind(named, 0), 0u) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
}

TEST(LabOptions, UnknownOptionsAndMissingValues) {
    EXPECT_EQ(parse({"--speed", "3"}).error.rfind("--speed", 0), 0u);
    EXPECT_EQ(parse({"--ticks"}).error, "--ticks: missing value");
    EXPECT_EQ(parse({"ticks"}).error.rfind("ticks", 0), 0u);
}

TEST(LabOptions, AFeedToTheEndAndScatters) {
    const ParseResult r = parse({"--feed", "3:end:1:2", "--scatter", "0:1:40", "--stats", "--ticks", "10"});
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.options.feeds.size(), 1u);
    EXPECT_EQ(r.options.feeds[0].firstPass, 3u);
    EXPECT_EQ(r.options.feeds[0].lastPass, 9u);
    ASSERT_EQ(r.options.scatters.size(), 1u);
    EXPECT_EQ(r.options.scatters[0].kind, 1);
    EXPECT_EQ(r.options.scatters[0].count, 40);
    EXPECT_TRUE(r.options.stats);
    EXPECT_EQ(parse({"--feed", "0:end:1:1", "--feed", "9:9:1:1", "--ticks", "10"}).error,
              "--feed: feeds overlap: at most one feed per pass");
}

TEST(LabOptions, MessagesSayWhatIsWrong) {
    // A pass beyond the run names the passes it has, and the default of --ticks;
    // a number too large for its field says so.
    for (const auto& [args, error] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--place", "1000:0:1:1"},
              "--place: pass 1000 is beyond the run of 1000 passes, numbered from 0 (1000 "
              "is the default when --ticks is not given)"},
             {{"--ticks", "8", "--feed", "2:8:1:1"}, "--feed: pass 8 is beyond the run of 8 passes, numbered from 0"},
             {{"--ticks", "0", "--feed", "0:end:1:1"}, "--feed: pass 0 is beyond the run of 0 passes, numbered from 0"},
             {{"--scatter", "5:0:1", "--ticks", "5"},
              "--scatter: pass 5 is beyond the run of 5 passes, numbered from 0"},
             {{"--ticks", "18446744073709551616"},
              "--ticks: 18446744073709551616 is too large: at most 18446744073709551615"},
             {{"--auto", "41"}, "--auto: 41 is too large: at most 40"},
             {{"--place", "0:0:716:1"}, "--place: X 716 is too large: at most 715"},
             {{"--feed", "0:99999999999999999999:1:1"},
              "--feed: T1 99999999999999999999 is too large: at most 18446744073709551615"},
             {{"--scatter", "0:0:211601"}, "--scatter: N 211601 is too large: at most 211600"},
             {{"--magen", "9"}, "--magen: expected a trackbar position 10..50"}})
        EXPECT_EQ(parse(args).error, error);
}

TEST(LabOptions, TheHelpExplainsEveryOption) {
    for (const char* option :
         {"--seed", "--ticks", "--nutrient", "--auto", "--magen", "--alter", "--reif", "--spread", "--grains",
          "--place", "--scatter", "--feed", "--every", "--dump-grid", "--dump-creatures"})
        EXPECT_TRUE(takesValue(option) &&
                    std::string(usageText()).find(std::string("\n  ") + option + " ") != std::string::npos)
            << option;
    EXPECT_NE(std::string(usageText()).find("\n  --stats "), std::string::npos);
}

TEST(LabOptions, TheLastOfARepeatedOptionWins) {
    const ParseResult r = parse({"--ticks", "5", "--ticks", "9"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.ticks, 9u);
}

}  // namespace
}  // namespace vivarix::lab

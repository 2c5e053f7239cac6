// The control table is the one source of every trackbar's range and start: the
// program's panel, vivarix-lab's options and the journal reader all take both ends
// and refuse one step beyond, and start where the table says.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/startup.h"
#include "lab_options.h"
#include "session/control_table.h"
#include "session/journal_text.h"
#include "support/scripted_desktop.h"

namespace vivarix::lab {
namespace {

// How a position of one trackbar reaches the simulation: the lab option's field and
// the journal input that carries it, the other positions at their start.
struct Carrier {
    const TrackbarSpec* trackbar;
    std::int32_t Options::*field;
    std::function<Input(std::int32_t)> input;
};

std::vector<Carrier> carriers() {
    using namespace trackbar;
    return {
        {&autoFeed, &Options::autoPosition, [](std::int32_t p) { return Input(AutoInput{p}); }},
        {&spread, &Options::spreadPosition,
         [](std::int32_t p) { return Input(FeedInput{230, 230, p, grains.initial}); }},
        {&grains, &Options::grainsPosition,
         [](std::int32_t p) { return Input(FeedInput{230, 230, spread.initial, p}); }},
        {&magen, &Options::magenPosition,
         [](std::int32_t p) { return Input(PlaceInput{230, 230, 0, p, alter.initial, reif.initial}); }},
        {&alter, &Options::alterPosition,
         [](std::int32_t p) { return Input(PlaceInput{230, 230, 0, magen.initial, p, reif.initial}); }},
        {&reif, &Options::reifPosition,
         [](std::int32_t p) { return Input(PlaceInput{230, 230, 0, magen.initial, alter.initial, p}); }},
    };
}

TEST(ControlTable, PanelLabOptionsAndJournalReaderAgreeWithIt) {
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 1));
    for (const TrackbarSpec* t : trackbars) {
        SCOPED_TRACE(std::string(t->caption));
        EXPECT_EQ(desktop.trackbarRanges.at(t->number), std::make_pair(t->lowest, t->highest));
        EXPECT_EQ(desktop.controls().getControlState(t->number), t->initial);
    }

    const Options defaults;
    std::size_t options = 0;
    for (const Carrier& c : carriers()) {
        const TrackbarSpec& t = *c.trackbar;
        SCOPED_TRACE(std::string(t.caption));
        EXPECT_EQ(defaults.*c.field, t.initial);
        const std::string option(t.labOption);
        EXPECT_NE(std::string(usageText()).find("  " + option + " P"), std::string::npos);
        for (const std::int32_t p : {t.lowest, t.highest}) {
            const ParseResult parsed = parseOptions({option, std::to_string(p)});
            EXPECT_EQ(parsed.error, "");
            EXPECT_EQ(parsed.options.*c.field, p);
            EXPECT_TRUE(parseJournalLine(journalLine({0, c.input(p)})).entry) << p;
        }
        for (const std::int32_t p : {t.lowest - 1, t.highest + 1}) {
            if (p < 0) continue;  // a minus sign is no number to either
            EXPECT_NE(parseOptions({option, std::to_string(p)}).error, "") << p;
            EXPECT_NE(parseJournalLine(journalLine({0, c.input(p)})).error.find(positionName(t) + " " +
                                                                               std::to_string(p) + " is outside"),
                      std::string::npos)
                << p;
        }
        ++options;
    }
    // Every trackbar the lab has an option for is carried above.
    std::size_t withOption = 0;
    for (const TrackbarSpec* t : trackbars) withOption += !t->labOption.empty();
    EXPECT_EQ(options, withOption);
}

}  // namespace
}  // namespace vivarix::lab

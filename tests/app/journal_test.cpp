// The session journal: what the program writes for its inputs, and what the reader
// accepts and refuses.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <regex>
#include <string>

#include "app/commands.h"
#include "app/journal.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "sim/control_numbers.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

const std::string head = "vivarix-session 1\nseed 5\nstart random\n";

TEST(JournalReader, ReadsEveryEntry) {
    const ParsedJournal j = parseJournal(head +
                                         "auto 0 10\nplace 0 230 231 1 20 21 22\nfeed 3 100 101 6 7\nnofeed 9\n"
                                         "plate 9 empty\ncheck 1000 0123456789abcdef\n");
    ASSERT_EQ(j.error, "");
    EXPECT_EQ(j.seed, 5u);
    EXPECT_TRUE(j.randomNutrient);
    ASSERT_EQ(j.entries.size(), 6u);
    const JournalEntry& place = j.entries[1];
    EXPECT_EQ(place.kind, JournalEntry::Kind::place);
    EXPECT_EQ((std::vector<std::int32_t>{place.x, place.y, place.kind01, place.magen, place.alter, place.reif}),
              (std::vector<std::int32_t>{230, 231, 1, 20, 21, 22}));
    EXPECT_EQ(j.entries[2].spread, 6);
    EXPECT_EQ(j.entries[2].grains, 7);
    EXPECT_FALSE(j.entries[4].randomNutrient);
    EXPECT_EQ(j.entries[5].hash, "0123456789abcdef");
    EXPECT_EQ(j.lastTick, 1000u);
}

TEST(JournalReader, DropsALastLineCutOffWhileWritten) {
    const ParsedJournal j = parseJournal(head + "auto 0 10\ncheck 1000 0123");
    ASSERT_EQ(j.error, "");
    EXPECT_EQ(j.entries.size(), 1u);
    EXPECT_EQ(j.lastTick, 0u);
}

TEST(JournalReader, RefusesBrokenJournalsNamingTheLine) {
    struct Case {
        std::string text;
        std::size_t line;
        std::string says;
    };
    const Case cases[] = {
        {"", 1, "empty"},
        {"P6\n", 1, "not a Vivarix session journal"},
        {"vivarix-session 2\nseed 1\nstart random\n", 1, "\"2\" is not supported"},
        {"vivarix-session 1\nstart random\n", 2, "expected the seed line"},
        {"vivarix-session 1\nseed 99999999999999999999\nstart random\n", 2, "too large"},
        {head + "auto -3 10\n", 4, "tick \"-3\" is not a decimal number"},
        {head + "auto 5 10\nauto 4 10\n", 5, "tick 4 comes after tick 5"},
        {head + "jump 5\n", 4, "unknown entry \"jump\""},
        {head + "place 1 230 230 2 20 20 20\n", 4, "kind 2 is outside 0..1"},
        {head + "place 1 230 230 0 20 20\n", 4, "missing Geschlechtsreif position"},
        {head + "auto 1 10 11\n", 4, "unexpected text"},
        {head + "check 1 xyz\n", 4, "16 hex digits"},
        {head + "nofeed 4294967296\n", 4, "outside"},
        {head + std::string(1 << 20, 'a') + "\n", 4, "more than 200"},
    };
    for (const Case& c : cases) {
        const ParsedJournal j = parseJournal(c.text);
        EXPECT_EQ(j.errorLine, c.line) << c.text.substr(0, 80);
        EXPECT_NE(j.error.find(c.says), std::string::npos) << j.error;
    }
}

// The program's own start-up and passes write what they did.
TEST(JournalWriter, WritesTheInputsOfASessionAndReadsBack) {
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 42));
    desktop.movePointer(230, 230);
    desktop.queue(event::leftDown);
    desktop.queue(event::rightDown);
    desktop.queue(event::none);
    desktop.queue(event::none);
    desktop.queue(event::rightUp);
    desktop.queue(event::control, control::newPlateButton);
    for (int pass = 0; pass < 1001; ++pass) ASSERT_TRUE(runPass(*state, desktop));

    const ParsedJournal j = parseJournal(state->journal.text);
    ASSERT_EQ(j.error, "") << state->journal.text;
    EXPECT_EQ(j.seed, 42u);
    using K = JournalEntry::Kind;
    std::vector<std::pair<K, std::uint64_t>> seen;
    for (const JournalEntry& e : j.entries) seen.emplace_back(e.kind, e.tick);
    EXPECT_EQ(seen, (std::vector<std::pair<K, std::uint64_t>>{{K::place, 0},
                                                                 {K::autoPosition, 0},
                                                                 {K::feed, 1},
                                                                 {K::nofeed, 4},
                                                                 {K::plate, 5},
                                                                 {K::check, 1000}}));
    EXPECT_EQ(j.entries[2].spread, 12);
    EXPECT_EQ(j.entries[2].grains, 25);
}

// Ctrl+S: the dialog suggests a dated name; a cancelled dialog writes nothing; a
// file that cannot be written is told in a message box and the session goes on.
TEST(JournalWriter, SavingAsTheUserChose) {
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 42));
    const std::size_t lines = state->journal.text.size();
    saveSessionAs(*state, desktop);
    EXPECT_TRUE(std::regex_match(desktop.suggestedSaveName, std::regex(R"(vivarix-\d{8}-\d{6}\.vxs)")))
        << desktop.suggestedSaveName;
    EXPECT_EQ(state->journal.text.size(), lines);
    EXPECT_TRUE(desktop.messages.empty());

    desktop.saveAnswer = "/proc/no-file-can-be-made-here.vxs";
    saveSessionAs(*state, desktop);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].second.rfind("The session could not be saved to " + desktop.saveAnswer + ": ", 0), 0u)
        << desktop.messages[0].second;
    EXPECT_TRUE(runPass(*state, desktop));
}

// Every failure is told with the error of the call that failed, never with one an
// earlier call left in errno (EACCES here).
TEST(JournalWriter, FailuresNameTheErrorOfTheCallThatFailed) {
    test::ScriptedDesktop desktop;
    NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(startUp(*state, desktop, text, 42));

    errno = EACCES;
    EXPECT_EQ(startRecording(*state, "/dev/full").error, ENOSPC);  // flushing the lines so far
    EXPECT_FALSE(state->journal.recording);
    errno = EACCES;
    EXPECT_EQ(startRecording(*state, "/").error, EISDIR);
    errno = EACCES;
    EXPECT_EQ(saveJournal(*state, "/dev/full").error, ENOSPC);  // closing writes the buffer out

    // A recording that fails later is closed, and the message says why.
    ASSERT_TRUE(startRecording(*state, "/dev/null"));
    state->journal.recording.reset(std::fopen("/dev/full", "wb"));
    errno = EACCES;
    journalNewPlate(*state);
    EXPECT_FALSE(state->journal.recording);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].second, "The session can no longer be recorded to /dev/null: " +
                                              std::string(std::strerror(ENOSPC)) + ". It goes on without recording.");
    EXPECT_TRUE(runPass(*state, desktop));

    // A call that fails without setting errno is an input/output error, and the
    // attempts after a failure do not run.
    FileResult result;
    errno = EACCES;
    EXPECT_FALSE(result.attempt([] { return false; }));
    EXPECT_EQ(result.error, EIO);
    bool ran = false;
    EXPECT_FALSE(result.attempt([&] { return ran = true; }));
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vivarix

// The program's journal: what its start-up, events and passes write, where a click
// places, and saving it as the user chose.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "app/commands.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "session/control_table.h"
#include "session/journal_reader.h"
#include "support/scripted_desktop.h"

namespace vivarix {
namespace {

std::vector<JournalEntry> entriesOf(const std::string& text) {
    std::istringstream in(text);
    JournalReader reader(in);
    std::vector<JournalEntry> entries;
    while (auto entry = reader.next()) entries.push_back(*entry);
    EXPECT_EQ(reader.error(), "") << text;
    return entries;
}

std::unique_ptr<AppState> startedProgram(test::ScriptedDesktop& desktop, std::uint64_t seed) {
    static NoTextRenderer text;
    auto state = std::make_unique<AppState>();
    EXPECT_TRUE(startUp(*state, desktop, text, seed));
    return state;
}

// The program's own start-up and passes write what they did.
TEST(JournalWriter, WritesTheInputsOfASessionAndReadsBack) {
    test::ScriptedDesktop desktop;
    auto state = startedProgram(desktop, 42);
    desktop.movePointer(230, 230);
    desktop.queue(event::leftDown);
    desktop.queue(event::rightDown);
    desktop.queue(event::none);
    desktop.queue(event::none);
    desktop.queue(event::rightUp);
    desktop.queue(event::control, control::newPlateButton);
    for (int pass = 0; pass < 1001; ++pass) ASSERT_TRUE(runPass(*state, desktop));

    const std::string& text = state->session.journal.text;
    EXPECT_EQ(text.substr(0, text.find("place")), "vivarix-session 1\nseed 42\nstart random\n");
    const std::vector<JournalEntry> entries = entriesOf(text);
    std::vector<std::pair<std::size_t, std::uint64_t>> seen;  // (alternative, tick); checkpoints as 9
    for (const JournalEntry& e : entries)
        seen.emplace_back(std::holds_alternative<Input>(e.item) ? std::get<Input>(e.item).index() : 9, e.tick);
    const Input kinds[] = {PlaceInput{}, AutoInput{}, FeedInput{}, NoFeedInput{}, PlateInput{}};
    EXPECT_EQ(seen, (std::vector<std::pair<std::size_t, std::uint64_t>>{
                        {kinds[0].index(), 0}, {kinds[1].index(), 0}, {kinds[2].index(), 1},
                        {kinds[3].index(), 4}, {kinds[4].index(), 5}, {9, 1000}}));
    EXPECT_EQ(std::get<Input>(entries[2].item),
              Input(FeedInput{230, 230, trackbar::spread.initial, trackbar::grains.initial}));
}

// A slow pass (keys 6 to 9) leaves time to click and move on before the click is
// handled: each click places where its button went down, and the journal says so.
TEST(JournalWriter, AClickPlacesWhereItsButtonWentDown) {
    test::ScriptedDesktop desktop;
    auto state = startedProgram(desktop, 7);
    desktop.movePointer(200, 210);
    desktop.queue(event::leftDown);
    desktop.movePointer(240, 250);
    desktop.queue(event::leftDown);
    desktop.movePointer(300, 300);  // where the pointer is when the passes run
    ASSERT_TRUE(runPass(*state, desktop));
    ASSERT_TRUE(runPass(*state, desktop));
    ASSERT_EQ(state->creatureList.size(), 2u);
    std::vector<std::pair<std::int32_t, std::int32_t>> placed;
    for (const JournalEntry& e : entriesOf(state->session.journal.text))
        if (const auto* input = std::get_if<Input>(&e.item))
            if (const auto* p = std::get_if<PlaceInput>(input)) placed.emplace_back(p->x, p->y);
    EXPECT_EQ(placed, (std::vector<std::pair<std::int32_t, std::int32_t>>{{200, 210}, {240, 250}}));
}

// Ctrl+S: the dialog suggests a dated name; a cancelled dialog writes nothing; a
// file that cannot be written is told in a message box and the session goes on.
TEST(JournalWriter, SavingAsTheUserChose) {
    test::ScriptedDesktop desktop;
    auto state = startedProgram(desktop, 42);
    const std::size_t lines = state->session.journal.text.size();
    saveSessionAs(*state, desktop);
    EXPECT_TRUE(std::regex_match(desktop.suggestedSaveName, std::regex(R"(vivarix-\d{8}-\d{6}\.vxs)")))
        << desktop.suggestedSaveName;
    EXPECT_EQ(state->session.journal.text.size(), lines);
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
    auto state = startedProgram(desktop, 42);
    Session& session = state->session;

    errno = EACCES;
    EXPECT_EQ(startRecording(session, "/dev/full").error, ENOSPC);  // flushing the lines so far
    EXPECT_FALSE(session.journal.recording);
    errno = EACCES;
    EXPECT_EQ(startRecording(session, "/").error, EISDIR);
    errno = EACCES;
    EXPECT_EQ(saveJournal(*state, session, "/dev/full").error, ENOSPC);  // closing writes the buffer out

    // A recording that fails later is closed, and the message says why.
    ASSERT_TRUE(startRecording(session, "/dev/null"));
    session.journal.recording.reset(std::fopen("/dev/full", "wb"));
    errno = EACCES;
    newPlate(*state);
    EXPECT_FALSE(session.journal.recording);
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

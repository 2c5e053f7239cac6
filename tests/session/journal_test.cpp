// The journal's text: every input written and read back, the line ends it meets,
// and the journals the reader refuses, with the line it names.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "session/control_table.h"
#include "session/journal_reader.h"

namespace vivarix {
namespace {

const std::string head = "vivarix-session 1\nseed 5\nstart random\n";

// Every entry the reader gives for `text`, and what it said when it stopped.
struct Read {
    JournalHead head;
    std::vector<JournalEntry> entries;
    std::string error;
    std::size_t errorLine = 0;
};

Read readAll(const std::string& text) {
    std::istringstream in(text);
    JournalReader reader(in);
    Read read{reader.head(), {}, {}, 0};
    while (auto entry = reader.next()) read.entries.push_back(*entry);
    read.error = reader.error();
    read.errorLine = reader.errorLine();
    return read;
}

TEST(JournalText, EveryInputAndCheckpointRoundTripsThroughItsLine) {
    using namespace trackbar;
    const std::uint64_t beyond32Bits = (std::uint64_t{1} << 32) + 7;
    const std::vector<JournalEntry> entries = {
        {0, Input(AutoInput{autoFeed.lowest})},
        {0, Input(PlaceInput{0, 0, 0, magen.lowest, alter.lowest, reif.lowest})},
        {3, Input(PlaceInput{windowSize.width, windowSize.height, 1, magen.highest, alter.highest, reif.highest})},
        {3, Input(FeedInput{17, 400, spread.lowest, grains.highest})},
        {9, Input(NoFeedInput{})},
        {9, Input(PlateInput{false})},
        {10, Input(PlateInput{true})},
        {1000, Checkpoint{"0123456789abcdef"}},
        {beyond32Bits, Input(AutoInput{autoFeed.highest})},
        {UINT64_MAX, Checkpoint{"fedcba9876543210"}},
    };
    std::string text = journalHeadText({UINT64_MAX, false});
    for (const JournalEntry& e : entries) {
        const std::string line = journalLine(e);
        const ParsedLine parsed = parseJournalLine(line);
        ASSERT_TRUE(parsed.entry) << line << ": " << parsed.error;
        EXPECT_EQ(*parsed.entry, e) << line;
        text += line + "\n";
    }
    const Read read = readAll(text);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.head, (JournalHead{UINT64_MAX, false}));
    EXPECT_EQ(read.entries, entries);
}

TEST(JournalReader, WindowsLineEndsReadAsUnixOnesAndACutLastLineIsDropped) {
    const std::string unix = head + "auto 0 10\nplace 0 230 231 1 20 21 22\ncheck 1000 0123456789abcdef\n";
    std::string windows;
    for (const char c : unix) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const Read fromUnix = readAll(unix);
    ASSERT_EQ(fromUnix.error, "");
    ASSERT_EQ(fromUnix.entries.size(), 3u);
    const Read fromWindows = readAll(windows);
    EXPECT_EQ(fromWindows.error, "");
    EXPECT_EQ(fromWindows.head, fromUnix.head);
    EXPECT_EQ(fromWindows.entries, fromUnix.entries);

    const Read cut = readAll(unix + "check 2000 0123");
    EXPECT_EQ(cut.error, "");
    EXPECT_EQ(cut.entries, fromUnix.entries);
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
        {"vivarix-session 2\nseed 1\nstart random\n", 1, "journal format \"2\" is not supported"},
        {"vivarix-session 1\r\r\nseed 1\nstart random\n", 1, "journal format \"1\\r\" is not supported"},
        {"vivarix-session 1\n", 2, "ends before its seed"},
        {"vivarix-session 1\nstart random\n", 2, "expected the seed line"},
        {"vivarix-session 1\nseed 99999999999999999999\nstart random\n", 2, "too large"},
        {"vivarix-session 1\nseed 1\nstart full\n", 3, "expected random or empty"},
        {head + "auto -3 10\n", 4, "tick \"-3\" is not a decimal number"},
        {head + "auto 5 10\nauto 4 10\n", 5, "tick 4 comes after tick 5"},
        {head + "nofeed 18446744073709551616\n", 4, "tick 18446744073709551616 is too large"},
        {head + "jump\x01\x7f 5\n", 4, "unknown entry \"jump\\x01\\x7f\""},
        {head + std::string("auto 1 1\0\n", 10), 4, "\"1\\x00\" is not a decimal number"},
        {head + "place 1 230 230 2 20 20 20\n", 4, "kind 2 is outside 0..1"},
        {head + "place 1 716 230 0 20 20 20\n", 4, "x 716 is outside 0..715"},
        {head + "place 1 230 230 0 20 20\n", 4, "missing Geschlechtsreif position"},
        {head + "place 0 230 230 0 0 20 20\n", 4, "max.Magen position 0 is outside 10..50"},
        {head + "feed 0 230 230 0 25\n", 4, "M. Size position 0 is outside 2..12"},
        {head + "auto 0 41\n", 4, "Auto position 41 is outside 0..40"},
        {head + "auto 1 10 11\n", 4, "unexpected text"},
        {head + "check 1 xyz\n", 4, "16 hex digits"},
        {head + std::string(1 << 20, 'a') + "\n", 4, "the line is 1048576 characters long, more than 200"},
        {head + std::string(300, 'a') + "\r\nauto 0 10\n", 4, "the line is 300 characters long"},
    };
    for (const Case& c : cases) {
        const Read read = readAll(c.text);
        EXPECT_EQ(read.errorLine, c.line) << c.text.substr(0, 80);
        EXPECT_NE(read.error.find(c.says), std::string::npos) << read.error;
        EXPECT_EQ(read.error.find_first_of(std::string("\r\n\0", 3)), std::string::npos) << read.error;
    }
}

}  // namespace
}  // namespace vivarix

// The session journal's text: the inputs of a session, one a line, with the ticks
// they took effect at, so that a session can be replayed tick for tick.
//
// The format, version 1, is plain text, one entry a line, each line ended by "\n"
// ("\r\n" is read too):
//
//   vivarix-session 1          the first line: the format and its version
//   seed N                     the session's seed (unsigned 64-bit, decimal)
//   start random|empty         the nutrient option the start-up plate was laid with
//   place T X Y K M A R        PlaceInput: pointer (X, Y), kind K (0, 1), the
//                              "max.Magen", "max.Alter" and "Geschlechtsreif"
//                              positions M, A, R
//   feed T X Y S G             FeedInput: from tick T on the right button feeds at
//                              (X, Y) with the "M. Size" and "M. NpF" positions S, G
//   nofeed T                   NoFeedInput
//   auto T P                   AutoInput: the "Auto" position P
//   plate T random|empty       PlateInput: "New Vivarix" with that nutrient option
//   check T HASH               after the lines before it, the creatures hash
//                              (16 hex digits, as vivarix-lab prints it)
//
// T counts the ticks the session has run before the entry took effect (ticks of
// all plates, from 0, unsigned 64-bit); the entries of one tick come in the order
// they happened, and T never decreases down the file.  Positions lie in their
// trackbars' ranges (control_table.h), pointers in the window's client area.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "session/input.h"

namespace vivarix {

inline constexpr std::string_view journalHeader = "vivarix-session 1";
// The longest line a journal may hold, its line end not counted.
inline constexpr std::size_t longestJournalLine = 200;

// A checkpoint: the creatures hash after the entries before it.
struct Checkpoint {
    std::string hash;  // 16 lower-case hex digits
    bool operator==(const Checkpoint&) const = default;
};

// One line after the head: an input or a checkpoint, at its tick.
struct JournalEntry {
    std::uint64_t tick = 0;
    std::variant<Input, Checkpoint> item;
    bool operator==(const JournalEntry&) const = default;
};

// The three lines that open a journal.
struct JournalHead {
    std::uint64_t seed = 0;
    bool randomNutrient = true;  // of the start-up plate
    bool operator==(const JournalHead&) const = default;
};

// The head's three lines, each with its "\n".
std::string journalHeadText(const JournalHead& head);

// The line of an entry, without its "\n".
std::string journalLine(const JournalEntry& entry);

// What parseJournalLine makes of one line after the head.
struct ParsedLine {
    std::optional<JournalEntry> entry;  // set when the line is sound
    std::string error;                  // else what is wrong, bytes that are not printable escaped
};

// Reads one entry line (without its line end).  Every field is checked: an unknown
// entry, a number that is not plain decimal or is out of its range, a position
// outside its trackbar's range, a hash that is not 16 hex digits or text after the
// last field is an error.  The order of ticks is the reader's to check.
ParsedLine parseJournalLine(std::string_view line);

}  // namespace vivarix
